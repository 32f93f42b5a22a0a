corvane_add_test(platform_qt_tests
  SOURCES
    ${CORVANE_ROOT}/tests/support/QtTestMain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BackendTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BusyPointerTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EntryValidatorTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HelpViewerTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PageLocationTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PageMarkupTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PageOpeningTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QtDialogsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ShownTextTest.cpp
  LIBS corvane_platform
  QT)
target_compile_definitions(platform_qt_tests PRIVATE
  CORVANE_SAMPLE_HELP="${CMAKE_CURRENT_LIST_DIR}/Sample.hlp")
