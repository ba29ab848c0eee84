# The About window and the update check it runs.
target_sources(marvoxa_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/unit2.cpp
    ${CMAKE_CURRENT_LIST_DIR}/unit2.h
    ${CMAKE_CURRENT_LIST_DIR}/updater.cpp
    ${CMAKE_CURRENT_LIST_DIR}/updater.h
    ${CMAKE_SOURCE_DIR}/resources/about/about.qrc)
