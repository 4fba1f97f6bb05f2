# Writes one page of the manual: the source in data/manual/ holds the page's
# body, beginning with its <h1> heading; the head every page shares, with
# the heading as the title, is put around it here.
# Run as: cmake -DSOURCE=<page> -DOUTPUT=<file> -P ManualPage.cmake
file(READ "${SOURCE}" body)
if(NOT body MATCHES "^<h1>([^<]+)</h1>")
  message(FATAL_ERROR "${SOURCE} does not begin with its <h1> heading")
endif()
set(title "${CMAKE_MATCH_1}")

# xCHM, like every viewer built on wxHTML, breaks a line only at a space,
# and Chinese text has none: a paragraph would run on past the window's
# edge. A space after each Chinese comma, stop, colon, closing bracket and
# the like, and before an opening bracket, gives such viewers a place to
# break; the others lose it in the punctuation's own width. Preformatted
# blocks stay as written.
function(add_break_chances text out)
  string(REGEX REPLACE "(，|。|；|：|、|！|？|）)" "\\1 " text "${text}")
  string(REGEX REPLACE "（" " （" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
set(page "")
set(rest "${body}")
set(more 1)
while(more)
  string(FIND "${rest}" "<pre>" at)
  if(at EQUAL -1)
    add_break_chances("${rest}" text)
    string(APPEND page "${text}")
    set(more 0)
    continue()
  endif()
  string(SUBSTRING "${rest}" 0 ${at} text)
  add_break_chances("${text}" text)
  string(APPEND page "${text}")
  string(SUBSTRING "${rest}" ${at} -1 rest)
  string(FIND "${rest}" "</pre>" end)
  if(end EQUAL -1)
    message(FATAL_ERROR "${SOURCE}: <pre> without </pre>")
  endif()
  math(EXPR end "${end} + 6")
  string(SUBSTRING "${rest}" 0 ${end} block)
  string(APPEND page "${block}")
  string(SUBSTRING "${rest}" ${end} -1 rest)
endwhile()

file(WRITE "${OUTPUT}" "<html>
<head>
<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">
<title>${title}</title>
<link rel=\"stylesheet\" type=\"text/css\" href=\"style.css\">
</head>
<body>
${page}</body>
</html>
")
