# The message log's live side on Windows: the hook library loaded into
# logged targets, and the source that loads it (msglog/win32).
#
# The library's name carries the version and the bitness, so a Quillmar
# never loads another version's library (nor meets its ring): it is built
# beside quillmar.exe and quillmar-cli.exe and installed with them.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(QM_HOOK_ARCH x64)
else()
  set(QM_HOOK_ARCH x86)
endif()
set(QM_HOOK_LIBRARY quillmar-hook-${PROJECT_VERSION}-${QM_HOOK_ARCH})

add_library(quillmar-hook MODULE ${CMAKE_SOURCE_DIR}/msglog/hook/dll_main.cpp)
target_link_libraries(quillmar-hook PRIVATE qm_msglog_hook user32)
# Plain export names in the 32-bit build too (no @12), and no MinGW runtime
# DLL to be found in the target's folder.
target_link_options(quillmar-hook PRIVATE -static -Wl,--kill-at)
set_target_properties(quillmar-hook PROPERTIES PREFIX "" OUTPUT_NAME ${QM_HOOK_LIBRARY}
                                               LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
qm_warnings(quillmar-hook)

qm_layer(qm_msglog_win32 DIR msglog/win32 PUBLIC qm_msglog qm_platform_win32 PRIVATE qm_msglog_hook qm_res)
target_compile_definitions(qm_msglog_win32 PRIVATE QM_HOOK_LIBRARY_NAME=L"${QM_HOOK_LIBRARY}.dll")
target_link_libraries(qm_msglog_win32 PRIVATE user32 advapi32)
add_dependencies(qm_msglog_win32 quillmar-hook)
