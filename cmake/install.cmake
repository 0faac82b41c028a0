# What `cmake --install` puts in a release: on Windows the program, the CLI,
# the hook library the message log loads into the windows it logs, the two
# automation tools with the script that registers them, and the README, all
# in one folder; on Linux the CLI and the README.
if(WIN32)
  install(TARGETS quillmar quillmar-cli turmidex palvexi RUNTIME DESTINATION .)
  install(TARGETS quillmar-hook LIBRARY DESTINATION .)
  install(PROGRAMS ${CMAKE_SOURCE_DIR}/tools/herramientas.cmd DESTINATION .)
  install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION .)
else()
  install(TARGETS quillmar-cli RUNTIME DESTINATION bin)
  install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION share/doc/quillmar)
endif()
