# Writes the manual's command-line page from the help text of the built program.
#   cmake -DCLI=<veltrane-cli> -DOUT=<page.html> -P ManualCommandLinePage.cmake
execute_process(COMMAND ${CLI} --help OUTPUT_VARIABLE usage RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${CLI} --help failed: ${status}")
endif()
string(REPLACE "&" "&amp;" usage "${usage}")
string(REPLACE "<" "&lt;" usage "${usage}")
string(REPLACE ">" "&gt;" usage "${usage}")
file(WRITE ${OUT} "<html><head><title>The command line</title></head><body>
<h1>The command line</h1>
<p>Beside the window, <b>veltrane-cli</b> renames from a terminal or a script with the same
operations, statuses and result files. A result file saved by either can be loaded by the
other: a pass run in the window can be undone with <code>veltrane-cli recover FILE</code>,
and one run from the terminal with Load Result and Recover (see <a href=\"result-files.html\">Result files</a>).</p>
<p>This is what <code>veltrane-cli --help</code> says:</p>
<pre>${usage}</pre>
</body></html>
")
