# Files of this subsystem: platform-free ones into ZOR_PURE_SOURCES, Windows ones into ZOR_WIN_SOURCES.
list(APPEND ZOR_WIN_SOURCES ${CMAKE_CURRENT_LIST_DIR}/Console.cpp)
list(APPEND ZOR_PURE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/DialogTemplate.cpp)
list(APPEND ZOR_WIN_SOURCES ${CMAKE_CURRENT_LIST_DIR}/Welcome.cpp)
