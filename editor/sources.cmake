# Files of this subsystem: platform-free ones into ZOR_PURE_SOURCES, Windows ones into ZOR_WIN_SOURCES.
list(APPEND ZOR_PURE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/WordAt.cpp)
list(APPEND ZOR_WIN_SOURCES ${CMAKE_CURRENT_LIST_DIR}/EditorAccess.cpp)
list(APPEND ZOR_WIN_SOURCES ${CMAKE_CURRENT_LIST_DIR}/EditorSetup.cpp)
