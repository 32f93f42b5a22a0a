# The record list stands alone so that the acquisition program can link it without the
# explanation window; the consultation program hands it an explainer.
add_library(corvane_record_list STATIC RecordDisplayer.cpp)
set_target_properties(corvane_record_list PROPERTIES AUTOMOC ON)
target_link_libraries(corvane_record_list PUBLIC corvane_kb corvane_platform Qt6::Widgets)

# The consultation program's windows.
add_library(corvane_consult STATIC
  Explanation.cpp
  Main.cpp
  MainAnswers.cpp
  MainFlow.cpp
  MainSettings.cpp
)
set_target_properties(corvane_consult PROPERTIES AUTOMOC ON)
target_link_libraries(corvane_consult PUBLIC
  corvane_record_list corvane_consult_core corvane_dialogs corvane_platform corvane_kb
  Qt6::Widgets)

add_executable(Mirel main.cpp)
set_target_properties(Mirel PROPERTIES AUTOMOC ON)
target_link_libraries(Mirel PRIVATE corvane_consult)

# Mirel.hlp, the default pages and the home page go beside the program.
include(${CORVANE_ROOT}/help/ship.cmake)
corvane_ship_beside(Mirel ${CORVANE_ROOT}/help/Mirel.hlp)
