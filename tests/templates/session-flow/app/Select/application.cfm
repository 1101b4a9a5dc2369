<cfparam name="session.visits" default="0"><cfset session.visits = session.visits + 1><cfset sitename = "Quorvel">
