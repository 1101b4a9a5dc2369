<!--- The bottom of every page. --->
</div>
<div class="footer">Vantrel &middot; Quorvel</div>
</body>
</html>
