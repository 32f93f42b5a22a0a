# The settings-file (INI) reader and writer: plain C++, no Qt.
add_library(corvane_platform_ini STATIC
  ${CMAKE_CURRENT_LIST_DIR}/IniFile.cpp
)
target_include_directories(corvane_platform_ini PUBLIC ${CORVANE_ROOT})
target_link_libraries(corvane_platform_ini PUBLIC corvane_kb)
