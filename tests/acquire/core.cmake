# Drosk's record saver on its own: the checks and the lock around a save.
corvane_add_test(acquire_core_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/CRecordSaverTest.cpp
  LIBS corvane_acquire_core)
