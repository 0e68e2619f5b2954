#!/bin/sh
# The desktop integration files pass the freedesktop validators, and the MIME package compiles
# into a database whose magic rule names the data file's magic.
set -eu
res="$1/res/desktop"
desktop-file-validate "$res/vpr40t.desktop"
appstreamcli validate --no-net --pedantic "$res/vpr40t.metainfo.xml"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/mime/packages"
cp "$res/vpr40t-mime.xml" "$work/mime/packages/"
update-mime-database "$work/mime" 2>/dev/null
test -f "$work/mime/application/x-vpr40t-data.xml"
grep -a -q "application/x-vpr40t-data" "$work/mime/magic"
grep -a -q "VPR40T" "$work/mime/magic"
