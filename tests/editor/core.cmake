corvane_add_test(editor_core_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/ArrayManagerTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CDataFileModifierTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KnowledgeBaseSaveTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KnowledgeBaseSeamTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QuestionFileWriterTest.cpp
  LIBS corvane_editor_core)
# Under the sanitizers every save a seam sequence kills in a child process forks a process
# with all the sanitizers' memory: fewer sequences there, the full number in the other builds.
if(CORVANE_SANITIZE)
  set_property(TEST editor_core_tests APPEND PROPERTY ENVIRONMENT "CORVANE_SEAM_SEQUENCES=40")
endif()
