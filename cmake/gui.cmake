# The Windows program: the framework, every ui/ folder (cmake/ui_layers.cmake)
# and the resources.
# Framework and pages together, so the win tests and benchmarks can drive
# real controls.
add_library(qm_gui INTERFACE)
target_link_libraries(qm_gui INTERFACE qm_app_ui qm_core)

add_executable(quillmar WIN32 ${CMAKE_SOURCE_DIR}/app/ui/main.cpp ${CMAKE_SOURCE_DIR}/res/quillmar.rc)
# windres's includes are not scanned: the script is compiled again whenever
# a template, a string, an ID or an image changes.
file(GLOB_RECURSE rc_inputs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/*.rc ${CMAKE_SOURCE_DIR}/res/*.inc
     ${CMAKE_SOURCE_DIR}/res/*.h ${CMAKE_SOURCE_DIR}/res/*.bmp ${CMAKE_SOURCE_DIR}/res/*.ico
     ${CMAKE_SOURCE_DIR}/res/*.manifest)
set_source_files_properties(${CMAKE_SOURCE_DIR}/res/quillmar.rc PROPERTIES OBJECT_DEPENDS "${rc_inputs}")
set_target_properties(quillmar PROPERTIES OUTPUT_NAME quillmar)
target_link_libraries(quillmar PRIVATE qm_gui)
target_include_directories(quillmar PRIVATE ${CMAKE_SOURCE_DIR})
qm_warnings(quillmar)
# The message log loads the hook library from beside the program.
add_dependencies(quillmar quillmar-hook)
