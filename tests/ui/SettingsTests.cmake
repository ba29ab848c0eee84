# The settings file written and read through real main windows in temporary folders.
marvoxa_add_test(settings_storage_test
    SOURCES
        scripted_prompts.cpp
        scripted_prompts.h
        settings_storage_test.cpp
    LIBS marvoxa_ui
    WIDGETS)
