# Fails when a source file includes what its layer may not:
# - a header of a layer above its own: includes run downward only
#   (lang <- model <- link <- print, views <- app, cli);
# - Qt in the core (lang, model, link);
# - a POSIX header in the Qt folders (print, views, app), which build unchanged with a Windows Qt.
# Usage: cmake -DROOT=<source folder> -P CheckIncludes.cmake
cmake_minimum_required(VERSION 3.25)

# The folders each folder's files may include from, besides its own.
set(allowed_lang "")
set(allowed_model lang)
set(allowed_link lang model)
set(allowed_sim lang model link)
set(allowed_print lang model link)
set(allowed_views lang model link)
set(allowed_app lang model link print views)
set(allowed_cli lang model link print)
set(layers lang model link sim print views app cli)
set(core lang model link)
set(qt print views app)

set(posix_headers
  "unistd|fcntl|termios|poll|pthread|grp|pwd|dirent|dlfcn|spawn|libgen|glob|fnmatch|netdb|syslog"
  "|semaphore|sched|utime|strings|wordexp|pty|utmp|sys/[a-z_/]+|linux/[a-z_/]+|netinet/[a-z_/]+|arpa/[a-z_/]+")
string(JOIN "" posix_headers ${posix_headers})

set(found "")
set(count 0)
foreach(layer IN LISTS layers)
  file(GLOB_RECURSE sources ${ROOT}/${layer}/*.cpp ${ROOT}/${layer}/*.h)
  list(LENGTH sources n)
  math(EXPR count "${count} + ${n}")
  foreach(source IN LISTS sources)
    file(RELATIVE_PATH name ${ROOT} ${source})
    file(STRINGS ${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS lines)
      if(line MATCHES "#[ \t]*include[ \t]*\"([a-z]+)/")
        set(target ${CMAKE_MATCH_1})
        if(NOT target STREQUAL layer AND target IN_LIST layers AND NOT target IN_LIST allowed_${layer})
          string(APPEND found "\n  ${name}: ${line} (${layer}/ may not include ${target}/)")
        endif()
      elseif(layer IN_LIST core AND line MATCHES "#[ \t]*include[ \t]*<Q")
        string(APPEND found "\n  ${name}: ${line} (the core uses no Qt)")
      elseif(layer IN_LIST qt AND line MATCHES "#[ \t]*include[ \t]*[<\"](${posix_headers})\\.h[>\"]")
        string(APPEND found "\n  ${name}: ${line} (a POSIX header in a Qt folder)")
      endif()
    endforeach()
  endforeach()
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "No sources found below ${ROOT}")
endif()
if(found)
  message(FATAL_ERROR "Includes a layer may not have:${found}")
endif()
message(STATUS "${count} files include only their own layer, those below it and their platform's headers")
