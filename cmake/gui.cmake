# The Windows program: the framework, every ui/ folder and the resources.
file(GLOB framework_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/framework/*.cpp)
set(ui_sources)
foreach(dir IN LISTS QM_CORE_DIRS)
  file(GLOB dir_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/ui/*.cpp)
  list(APPEND ui_sources ${dir_sources})
endforeach()
list(FILTER ui_sources EXCLUDE REGEX "/app/ui/main\\.cpp$")

# Framework and pages as a library, so the win tests can drive real controls.
if(framework_sources OR ui_sources)
  add_library(qm_gui STATIC ${framework_sources} ${ui_sources})
  target_link_libraries(qm_gui PUBLIC qm_platform comctl32 ole32 oleaut32 uuid shell32 gdi32 user32 comdlg32 advapi32)
  qm_warnings(qm_gui)
endif()

set(main_source ${CMAKE_SOURCE_DIR}/app/ui/main.cpp)
if(NOT EXISTS ${main_source})
  set(main_source ${CMAKE_SOURCE_DIR}/cmake/placeholder_main.cpp)
endif()
add_executable(quillmar WIN32 ${main_source} ${CMAKE_SOURCE_DIR}/res/quillmar.rc)
# windres's includes are not scanned: the script is compiled again whenever
# a template, a string, an ID or an image changes.
file(GLOB_RECURSE rc_inputs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/*.rc ${CMAKE_SOURCE_DIR}/res/*.inc
     ${CMAKE_SOURCE_DIR}/res/*.h ${CMAKE_SOURCE_DIR}/res/*.bmp ${CMAKE_SOURCE_DIR}/res/*.ico
     ${CMAKE_SOURCE_DIR}/res/*.manifest)
set_source_files_properties(${CMAKE_SOURCE_DIR}/res/quillmar.rc PROPERTIES OBJECT_DEPENDS "${rc_inputs}")
set_target_properties(quillmar PROPERTIES OUTPUT_NAME quillmar)
target_link_libraries(quillmar PRIVATE qm_platform)
if(TARGET qm_gui)
  target_link_libraries(quillmar PRIVATE qm_gui)
endif()
target_include_directories(quillmar PRIVATE ${CMAKE_SOURCE_DIR})
qm_warnings(quillmar)
