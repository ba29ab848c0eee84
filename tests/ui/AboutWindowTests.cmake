# The update check against a local server, and the About window.
marvoxa_add_test(updater_test
    SOURCES
        updater_recording_prompts.h
        updater_test.cpp
        updater_test_server.cpp
        updater_test_server.h
    LIBS marvoxa_ui
    WIDGETS)

marvoxa_add_test(about_window_test
    SOURCES
        about_window_test.cpp
        updater_recording_prompts.h
        updater_test_server.cpp
        updater_test_server.h
    LIBS marvoxa_ui
    WIDGETS)
# The test grabs the window here for a look at it.
target_compile_definitions(about_window_test PRIVATE
    MARVOXA_ABOUT_SCREENSHOT="${CMAKE_BINARY_DIR}/screenshots/about-window.png")
