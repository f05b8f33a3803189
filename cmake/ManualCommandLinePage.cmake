# Writes the manual's command-line page from the help text of the built program:
# --help, then every topic of `veltrane-cli help TOPIC`.
#   cmake -DCLI=<veltrane-cli> -DOUT=<page.html> -P ManualCommandLinePage.cmake
function(html_text text out)
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

execute_process(COMMAND ${CLI} --help OUTPUT_VARIABLE usage RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${CLI} --help failed: ${status}")
endif()
html_text("${usage}" usage)

execute_process(COMMAND ${CLI} help OUTPUT_VARIABLE list RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${CLI} help failed: ${status}")
endif()
set(topics "")
string(REGEX MATCHALL "\n  [a-z]+  " names "\n${list}")
foreach(name IN LISTS names)
  string(STRIP "${name}" name)
  execute_process(COMMAND ${CLI} help ${name} OUTPUT_VARIABLE topic RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${CLI} help ${name} failed: ${status}")
  endif()
  # The first line is the heading, a blank line follows.
  string(FIND "${topic}" "\n" end)
  string(SUBSTRING "${topic}" 0 ${end} heading)
  math(EXPR start "${end} + 2")
  string(SUBSTRING "${topic}" ${start} -1 text)
  html_text("${heading}" heading)
  html_text("${text}" text)
  string(APPEND topics "<h2>${heading}</h2>\n<p><code>veltrane-cli help ${name}</code>:</p>\n<pre>${text}</pre>\n")
endforeach()

file(WRITE ${OUT} "<html><head><title>The command line</title></head><body>
<h1>The command line</h1>
<p>Beside the window, <b>veltrane-cli</b> renames from a terminal or a script with the same
operations, statuses and result files. A result file saved by either can be loaded by the
other: a pass run in the window can be undone with <code>veltrane-cli recover FILE</code>,
and one run from the terminal with Load Result and Recover (see <a href=\"result-files.html\">Result files</a>).</p>
<p>This is what <code>veltrane-cli --help</code> says:</p>
<pre>${usage}</pre>
${topics}</body></html>
")
