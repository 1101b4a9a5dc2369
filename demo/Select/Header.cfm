<!--- The top of every page: the document title, the end of the head that the
      page's frame opened, and the menu. --->
<cfoutput><title>#t_title#</title>
</head>
<body lang="#t_lang#">
<div class="menu"><img src="images/logo.svg" alt="Quorvel" width="82" height="35"><a href="http://Select\Index.qsp">#t_home#</a> <a href="http://Select\Sizing.qsp">#t_sizing#</a> <a href="Catalogue.qsp">#t_catalogue#</a> <a href="http://Select\Saved.qsp">#t_saved#</a></div>
<div class="page"></cfoutput>
