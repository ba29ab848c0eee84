# The main window: its controls, the palette swatches, the preview pictures and the handlers.
target_sources(marvoxa_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/compact_combo_style.cpp
    ${CMAKE_CURRENT_LIST_DIR}/compact_combo_style.h
    ${CMAKE_CURRENT_LIST_DIR}/control_lock.h
    ${CMAKE_CURRENT_LIST_DIR}/dialog_filters.h
    ${CMAKE_CURRENT_LIST_DIR}/dvd_copy_choice.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dvd_copy_choice.h
    ${CMAKE_CURRENT_LIST_DIR}/form1_controls.cpp
    ${CMAKE_CURRENT_LIST_DIR}/form1_controls.h
    ${CMAKE_CURRENT_LIST_DIR}/form1_generation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/generation_session.cpp
    ${CMAKE_CURRENT_LIST_DIR}/generation_session.h
    ${CMAKE_CURRENT_LIST_DIR}/preview_pictures.cpp
    ${CMAKE_CURRENT_LIST_DIR}/preview_pictures.h
    ${CMAKE_CURRENT_LIST_DIR}/subtitle_track_choice.cpp
    ${CMAKE_CURRENT_LIST_DIR}/subtitle_track_choice.h
    ${CMAKE_CURRENT_LIST_DIR}/swatch_row.cpp
    ${CMAKE_CURRENT_LIST_DIR}/swatch_row.h
    ${CMAKE_CURRENT_LIST_DIR}/tab_order.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tab_order.h
    ${CMAKE_CURRENT_LIST_DIR}/unit1.cpp
    ${CMAKE_CURRENT_LIST_DIR}/unit1.h
    ${CMAKE_CURRENT_LIST_DIR}/window_scroller.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_scroller.h
    ${CMAKE_SOURCE_DIR}/resources/main_window/main_window.qrc)
