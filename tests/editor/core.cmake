corvane_add_test(editor_core_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/ArrayManagerTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CDataFileModifierTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KnowledgeBaseSaveTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KnowledgeBaseSeamTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QuestionFileWriterTest.cpp
  LIBS corvane_editor_core)
