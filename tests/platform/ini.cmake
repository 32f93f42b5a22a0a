corvane_add_test(platform_ini_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/IniFileTest.cpp
  LIBS corvane_platform_ini)
