# Files of this subsystem: platform-free ones into ZOR_PURE_SOURCES, Windows ones into ZOR_WIN_SOURCES.
