# Writes a manual page from a program's --help and --version with help2man.
# -DHELP2MAN=... -DPROGRAM=... -DNAME="one-line description" -DOUTPUT=...
execute_process(
    COMMAND ${HELP2MAN} --no-info --section=1 --name=${NAME} --output=${OUTPUT}.tmp ${PROGRAM}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "help2man failed on ${PROGRAM}")
endif()
file(READ ${OUTPUT}.tmp page)
# help2man knows the sections "Files:" and "Environment:" of a --help text but not "Exit status:".
string(REPLACE ".SS \"Exit status:\"" ".SH \"EXIT STATUS\"" page "${page}")
file(WRITE ${OUTPUT} "${page}")
file(REMOVE ${OUTPUT}.tmp)
