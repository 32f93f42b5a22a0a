corvane_add_test(consult_core_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/CAnalyserTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CIniFileReaderTest.cpp
  LIBS corvane_consult_core)
