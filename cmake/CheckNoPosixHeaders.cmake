# Fails when a source file of the desktop program includes a POSIX header: app/ and views/ use Qt
# and the core only, so that they build unchanged with a Windows Qt.
# Usage: cmake -DROOT=<source folder> -P CheckNoPosixHeaders.cmake
set(posix_headers
  "unistd|fcntl|termios|poll|pthread|grp|pwd|dirent|dlfcn|spawn|libgen|glob|fnmatch|netdb|syslog"
  "|semaphore|sched|utime|strings|wordexp|pty|utmp|sys/[a-z_/]+|linux/[a-z_/]+|netinet/[a-z_/]+|arpa/[a-z_/]+")
string(JOIN "" posix_headers ${posix_headers})
set(pattern "#[ \t]*include[ \t]*[<\"](${posix_headers})\\.h[>\"]")

file(GLOB_RECURSE sources ${ROOT}/app/*.cpp ${ROOT}/app/*.h ${ROOT}/views/*.cpp ${ROOT}/views/*.h)
set(found "")
foreach(source IN LISTS sources)
  file(STRINGS ${source} lines REGEX "${pattern}")
  foreach(line IN LISTS lines)
    file(RELATIVE_PATH name ${ROOT} ${source})
    string(APPEND found "\n  ${name}: ${line}")
  endforeach()
endforeach()
list(LENGTH sources count)
if(count EQUAL 0)
  message(FATAL_ERROR "No sources found below ${ROOT}/app and ${ROOT}/views")
endif()
if(found)
  message(FATAL_ERROR "POSIX headers in the desktop program's sources:${found}")
endif()
message(STATUS "${count} files of app/ and views/ include no POSIX header")
