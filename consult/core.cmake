# The inference engine and the settings-file reader: plain C++, no Qt.
add_library(corvane_consult_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/CAnalyser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CIniFileReader.cpp
)
target_include_directories(corvane_consult_core PUBLIC ${CORVANE_ROOT})
target_link_libraries(corvane_consult_core PUBLIC corvane_kb corvane_platform_ini)
