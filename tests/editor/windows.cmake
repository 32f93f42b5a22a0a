corvane_add_test(editor_windows_tests QT
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/../dialogs/QtTestMain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RelianceFormTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FilesTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ShapeTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ShownTextTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KeyboardTest.cpp
  LIBS corvane_editor)
