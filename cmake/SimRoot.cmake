# Assembles the stand-in simulator's folder: the module with its settings beside it and the
# default data that the tools build.
add_custom_target(simroot ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TAVI_SIM_ROOT}/panel
    COMMAND ${CMAKE_COMMAND} -E make_directory "${TAVI_SIM_ROOT}/Orvane/Nd"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${TAVI_SIM_ROOT}/Orvane/CustomDB"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${TAVI_SIM_ROOT}/Orvane/PerfDB"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${TAVI_SIM_ROOT}/Orvane/TAVI Sounds"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${TAVI_SIM_ROOT}/Scenery/Base/Scenery"
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/data/panel-layout.txt
            ${TAVI_SIM_ROOT}/panel-layout.txt
    COMMENT "Assembling the simulator folder ${TAVI_SIM_ROOT}"
    VERBATIM)
add_custom_command(TARGET tavi_davud POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TAVI_SIM_ROOT}/panel
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:tavi_davud> ${TAVI_SIM_ROOT}/panel/
    VERBATIM)
add_dependencies(tavi-sim tavi_davud simroot)
