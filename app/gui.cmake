# The desktop program: everything but main() goes into lumo_gui, which the
# program and the window tests link.
find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport)

add_library(lumo_gui STATIC
    labelededit.cpp
    lumoapp.cpp
    mainfrm.cpp
    mainfrm_commands.cpp
    mainfrm_editcheck.cpp
    mainfrm_import.cpp
    mainfrm_menus.cpp
    mainfrm_o3method.cpp
    mainfrm_ozonesonde.cpp
    mainfrm_plots.cpp
    mainfrm_preferences.cpp
    mainfrm_radiosonde.cpp
    mainfrm_station.cpp
    mainfrm_surface.cpp
    mainfrm_totalo3.cpp
    numtext.cpp
    qtdialogs.cpp
    splashfrm.cpp
)
set_target_properties(lumo_gui PROPERTIES AUTOMOC ON)
target_compile_definitions(lumo_gui PRIVATE LUMO_VERSION="${PROJECT_VERSION}")
# Help > Guide shows the README's part for the desktop user.
target_sources(lumo_gui PRIVATE guide.qrc)
set_target_properties(lumo_gui PROPERTIES AUTORCC ON)
target_include_directories(lumo_gui PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR})
target_link_libraries(lumo_gui PUBLIC lumo_plots lumo_processing lumo_output lumo_flight Qt6::Widgets Qt6::PrintSupport)
lumo_strict(lumo_gui)

add_executable(lumo main.cpp)
set_target_properties(lumo PROPERTIES AUTOMOC ON)
target_link_libraries(lumo PRIVATE lumo_gui)
lumo_strict(lumo)
