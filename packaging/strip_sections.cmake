# Run by CPack on the staged package, after it stripped the programs: takes out the sections
# that only name the compiler, as Debian's dh_strip does (lintian: binary-has-unneeded-section).
file(GLOB programs ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/*)
if(NOT programs)
    message(FATAL_ERROR "no programs in ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin")
endif()
foreach(program ${programs})
    execute_process(
        COMMAND ${CPACK_VELMORA_STRIP} --remove-section=.comment --remove-section=.note ${program}
        COMMAND_ERROR_IS_FATAL ANY)
endforeach()
