# Makes the aircraft's sound files that are missing from the simulator folder; files already
# there (a user's own recordings) are kept.
add_custom_target(sounds ALL
    COMMAND ${PROJECT_SOURCE_DIR}/tools/make_sounds "${TAVI_SIM_ROOT}/Orvane/TAVI Sounds"
    COMMENT "Making the missing sound files in ${TAVI_SIM_ROOT}/Orvane/TAVI Sounds"
    VERBATIM)
add_dependencies(sounds simroot)
