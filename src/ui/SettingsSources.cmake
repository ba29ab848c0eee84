# The settings file: where it lives, its writer and the main window's stored choices.
target_sources(marvoxa_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ini_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ini_file.h
    ${CMAKE_CURRENT_LIST_DIR}/settings_storage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/settings_storage.h)
