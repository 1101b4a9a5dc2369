head<cfset fromhead = "set in head"><cfinclude template="Parts/Nested.cfm?q=from+query">
