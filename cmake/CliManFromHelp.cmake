# Writes the man page culvora-cli(1) from what `culvora-cli --help` prints, for as long as the
# program cannot write its own page: the commands and their arguments come from the program
# itself, so the page never lists a command the program does not take.
#
#   cmake -DCLI=path/to/culvora-cli -DVERSION=1.0 -DOUT=culvora-cli.1 -P CliManFromHelp.cmake

execute_process(COMMAND "${CLI}" --help OUTPUT_VARIABLE help RESULT_VARIABLE status
                ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR help STREQUAL "")
  message(FATAL_ERROR "${CLI} --help failed (${status}): ${errors}")
endif()

# roff: a backslash is \e, a minus is \-, and a line must not start with a control character.
function(roff_escape text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

string(REGEX REPLACE "\n+$" "" help "${help}")
roff_escape("${help}" help)

file(WRITE "${OUT}" ".TH CULVORA\\-CLI 1 \"\" \"Culvora ${VERSION}\" \"User Commands\"
.SH NAME
culvora\\-cli \\- the Culvora cookbook on the command line
.SH SYNOPSIS
.B culvora\\-cli
.RB [ \\-\\-data\\-dir
.IR folder ]
.RB [ \\-\\-book
.IR file ]
.I command
.RI [ arguments ]
.SH DESCRIPTION
.B culvora\\-cli
works on the same data folder as
.BR culvora (1),
without a display: cookbooks and recipes, types, the fridge words, drinks, nutrition,
printouts, imports, web pages and archives, backups and the recipe exchange.
Text goes in and out as UTF\\-8; the files in the data folder stay Windows\\-1252.
A new or empty data folder is filled with the delivered files, as the program does.
.SH COMMANDS
What
.B culvora\\-cli \\-\\-help
prints:
.PP
.nf
.RS 2
${help}
.RE
.fi
.SH EXIT STATUS
0 when the command was done, 1 when something was not found or refused, 2 for a usage error.
.SH ENVIRONMENT
.TP
.B CULVORA_DATA_DIR
The data folder, when
.B \\-\\-data\\-dir
is not given; otherwise
.IR $XDG_DATA_HOME/culvora ,
or
.I ~/.local/share/culvora
when that is not set.
.SH FILES
.TP
.I /usr/share/culvora/
The delivered data, found beside the program
.RI ( bin/../share/culvora ).
.TP
.I culvora.lock
Taken in the data folder from a change's read to its write, so that
.B culvora
and
.B culvora\\-cli
can work at the same time.
.SH SEE ALSO
.BR culvora (1)
")
