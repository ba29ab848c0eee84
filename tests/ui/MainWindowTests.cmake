# The main window driven through its controls under the offscreen platform.
marvoxa_add_test(main_window_test
    SOURCES
        file_drop_test.cpp
        generation_cancel_test.cpp
        generation_test.cpp
        main_window_fixture.cpp
        main_window_fixture.h
        options_test.cpp
        palette_cases_test.cpp
        preview_test.cpp
        scripted_prompts.cpp
        scripted_prompts.h
        subtitle_loading_test.cpp
        window_care_test.cpp
        window_layout_test.cpp
    LIBS marvoxa_ui marvoxa_test_lines marvoxa_tool_checks WIDGETS)
# A video with subtitle tracks is made with mkvmerge; a missing tool fails the test.
target_include_directories(main_window_test PRIVATE ${PROJECT_SOURCE_DIR}/tests/export)
# The bundled example the window loads, and where its picture is saved for a person to look at.
target_compile_definitions(main_window_test PRIVATE
    MARVOXA_EXAMPLES_DIR="${CMAKE_SOURCE_DIR}/examples"
    MARVOXA_SCREENSHOT_PATH="${CMAKE_BINARY_DIR}/screenshots/main-window.png")
