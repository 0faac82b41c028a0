# The Windows-only folders: the framework, then each ui/ folder as a library
# above the framework and its own feature. The frame (app/ui) is the one
# place that opens one feature's dialog from another's. With
# QM_UI_RULES_ONLY set to RULES_ONLY (the host build) only their reach is
# recorded, for the include check.
qm_layer(qm_framework DIR framework PUBLIC qm_platform_win32 ${QM_UI_RULES_ONLY})
if(NOT QM_UI_RULES_ONLY)
  target_link_libraries(qm_framework PUBLIC comctl32 ole32 oleaut32 uuid shell32 gdi32 user32 comdlg32 advapi32)
endif()
qm_layer(qm_common_ui DIR common/ui PUBLIC qm_framework qm_common PRIVATE qm_res ${QM_UI_RULES_ONLY})
qm_layer(qm_headers_ui DIR headers/ui PUBLIC qm_headers qm_common_ui PRIVATE qm_res ${QM_UI_RULES_ONLY})
qm_layer(qm_resources_ui DIR resources/ui PUBLIC qm_resources qm_common_ui PRIVATE qm_res ${QM_UI_RULES_ONLY})
qm_layer(qm_processes_ui DIR processes/ui PUBLIC qm_processes qm_common_ui PRIVATE qm_res qm_headers_ui qm_resources_ui
         ${QM_UI_RULES_ONLY})
qm_layer(qm_windows_ui DIR windows/ui PUBLIC qm_windows qm_common_ui PRIVATE qm_res ${QM_UI_RULES_ONLY})
qm_layer(qm_msglog_ui DIR msglog/ui PUBLIC qm_msglog qm_common_ui PRIVATE qm_msglog_win32 qm_res ${QM_UI_RULES_ONLY})
qm_layer(qm_app_ui DIR app/ui EXCLUDE "/main\\.cpp$" PUBLIC qm_app qm_headers_ui qm_resources_ui qm_processes_ui
         qm_windows_ui qm_msglog_ui PRIVATE qm_msglog_win32 qm_res ${QM_UI_RULES_ONLY})

if(NOT QM_UI_RULES_ONLY)
  qm_windows_pch(qm_framework qm_common_ui qm_headers_ui qm_resources_ui qm_processes_ui qm_windows_ui qm_msglog_ui
                 qm_app_ui)
endif()
