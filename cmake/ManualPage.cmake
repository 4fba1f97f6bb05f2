# Writes one page of the manual: the source in data/manual/ holds the page's
# body, beginning with its <h1> heading; the head every page shares, with
# the heading as the title, is put around it here.
# Run as: cmake -DSOURCE=<page> -DOUTPUT=<file> -P ManualPage.cmake
file(READ "${SOURCE}" body)
if(NOT body MATCHES "^<h1>([^<]+)</h1>")
  message(FATAL_ERROR "${SOURCE} does not begin with its <h1> heading")
endif()
set(title "${CMAKE_MATCH_1}")
file(WRITE "${OUTPUT}" "<html>
<head>
<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">
<title>${title}</title>
<link rel=\"stylesheet\" type=\"text/css\" href=\"style.css\">
</head>
<body>
${body}</body>
</html>
")
