# Man pages, generated at build time by help2man from each program's --help and --version, with
# the sections of res/man/<program>.h2m (formats, examples, files) added; and the bash and zsh
# completion of vpr40t-cli, which the tool writes itself from its command table.
find_program(VPR_HELP2MAN help2man)
set(VPR_MAN_DIR ${CMAKE_BINARY_DIR}/man)
set(VPR_MAN_PAGES)
if(VPR_HELP2MAN)
  set(vpr40t-cli_SUMMARY "read, write, inspect and convert VPR-40T radio images")
  set(vpr40t-cli_HELP --help-all)
  set(vpr40t-sim_SUMMARY "virtual HX radio on a pseudo-terminal for VPR-40T")
  set(vpr40t-sim_HELP --help)
  set(vpr40t_SUMMARY "program the HX series of hand-held VHF and UHF radios")
  set(vpr40t_HELP --help)
  foreach(program vpr40t-cli vpr40t-sim vpr40t)
    if(NOT TARGET ${program})
      continue()
    endif()
    set(page ${VPR_MAN_DIR}/${program}.1)
    add_custom_command(
      OUTPUT ${page} ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${VPR_MAN_DIR}
      COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen
              ${VPR_HELP2MAN} --no-info --no-discard-stderr --help-option=${${program}_HELP}
              --name=${${program}_SUMMARY} --include=${CMAKE_SOURCE_DIR}/res/man/${program}.h2m
              --output=${page} $<TARGET_FILE:${program}>
      # Installed compressed, as manual pages are; -n keeps the archive free of names and times.
      COMMAND sh -c "gzip -9n -c ${page} > ${page}.gz"
      DEPENDS ${program} ${CMAKE_SOURCE_DIR}/res/man/${program}.h2m
      COMMENT "Man page of ${program}"
      VERBATIM)
    list(APPEND VPR_MAN_PAGES ${page}.gz)
  endforeach()
  add_custom_target(manuals ALL DEPENDS ${VPR_MAN_PAGES})
  install(FILES ${VPR_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

if(TARGET vpr40t-cli)
  set(VPR_COMPLETIONS ${CMAKE_BINARY_DIR}/completion/vpr40t-cli ${CMAKE_BINARY_DIR}/completion/_vpr40t-cli)
  add_custom_command(
    OUTPUT ${VPR_COMPLETIONS}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/completion
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 $<TARGET_FILE:vpr40t-cli> completion bash
            --output ${CMAKE_BINARY_DIR}/completion/vpr40t-cli
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 $<TARGET_FILE:vpr40t-cli> completion zsh
            --output ${CMAKE_BINARY_DIR}/completion/_vpr40t-cli
    DEPENDS vpr40t-cli
    COMMENT "Shell completion of vpr40t-cli"
    VERBATIM)
  add_custom_target(completions ALL DEPENDS ${VPR_COMPLETIONS})
  install(FILES ${CMAKE_BINARY_DIR}/completion/vpr40t-cli DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
  install(FILES ${CMAKE_BINARY_DIR}/completion/_vpr40t-cli DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
endif()
