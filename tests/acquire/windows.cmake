# The acquisition window driven through its controls and real dialogs, and the road from
# a question set through Drosk's records to a ranking in Mirel.
corvane_add_test(acquire_tests QT
  SOURCES
    ${CORVANE_ROOT}/tests/support/QtTestMain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AnswersTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecordsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SaveSafetyTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RoadTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/NavigationFrameTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KeyboardTest.cpp
  LIBS corvane_acquire corvane_consult corvane_editor_core)
