corvane_add_test(editor_windows_tests QT
  SOURCES
    ${CORVANE_ROOT}/tests/support/QtTestMain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RelianceFormTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FilesTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ShapeTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ShownTextTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KeyboardTest.cpp
  LIBS corvane_editor)
