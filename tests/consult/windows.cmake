corvane_add_test(consult_windows_tests QT
  SOURCES
    ${CORVANE_ROOT}/tests/support/QtTestMain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FlowTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecordDisplayerTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ExplanationTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ExplanationRefillTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KeyboardTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BusyTest.cpp
  LIBS corvane_consult)
