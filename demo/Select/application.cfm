<!--- Runs before every page of the sample application. Chooses the texts of the
      language picked with the links in the window's header (application.LangID:
      1 German, 2 French, 3 Italian, 4 English); no language picked yet means
      English. Texts are Windows-1252 bytes. Also sets the number masks for the
      user's decimal separator. --->
<cfset lang = 4><cfif isdefined("application.langid")><cfset lang = (application.langid)></cfif>
<cfif lang eq 1>
<cfset t_lang = "de"><cfset bodycol = "body_de">
<cfset t_title = "Quorvel Auslegung"><cfset t_heading = "Quorvel Ventilauswahl">
<cfset t_home = "Startseite"><cfset t_sizing = "Ventil auslegen"><cfset t_catalogue = "Katalog"><cfset t_saved = "Gespeicherte Auswahl"><cfset t_back = "Zurück">
<cfset t_welcome = "Willkommen! Diese Beispielanwendung legt ein Regelventil der Baureihen Quorvel aus: aus dem Durchfluss und dem Druckverlust ergibt sich der erforderliche Kvs-Wert, und der Katalog zeigt die passenden Ventile.">
<cfset t_example = "Beispiel: 12 m³/h bei 0,5 bar"><cfset t_datasheet = "Datenblatt Quorvel (PDF)"><cfset t_screen = "Bildschirm"><cfset t_window = "Fenster">
<cfset t_flow = "Durchfluss Q"><cfset t_dp = "Druckverlust &Delta;p"><cfset t_calc = "Berechnen"><cfset t_formula = "Kvs = Q · &radic;(1 / &Delta;p)">
<cfset t_required = "Erforderlicher Kvs-Wert"><cfset t_invalid = "Bitte geben Sie einen Durchfluss und einen Druckverlust grösser als null ein.">
<cfset t_suggest = "Passende Ventile, höchstens drei je Baureihe"><cfset t_none = "Kein Ventil im Katalog erreicht diesen Kvs-Wert.">
<cfset t_article = "Artikel"><cfset t_price = "Preis CHF"><cfset t_stock = "Lager"><cfset t_yes = "ab Lager"><cfset t_no = "auf Bestellung"><cfset t_save = "Speichern">
<cfset t_savedok = "Die Auswahl wurde gespeichert."><cfset t_nosaved = "Noch keine Auswahl gespeichert."><cfset t_savefail = "Die Auswahl konnte nicht gespeichert werden.">
<cfset t_series = "Baureihe"><cfset t_body = "Gehäuse"><cfset t_valves = "Ventile">
<cfelseif lang eq 2>
<cfset t_lang = "fr"><cfset bodycol = "body_fr">
<cfset t_title = "Quorvel Sélection"><cfset t_heading = "Quorvel sélection de vannes">
<cfset t_home = "Accueil"><cfset t_sizing = "Dimensionner une vanne"><cfset t_catalogue = "Catalogue"><cfset t_saved = "Sélections enregistrées"><cfset t_back = "Retour">
<cfset t_welcome = "Bienvenue ! Cette application d’exemple dimensionne une vanne de régulation des séries Quorvel : le débit et la perte de charge donnent le Kvs nécessaire, et le catalogue montre les vannes qui conviennent.">
<cfset t_example = "Exemple : 12 m³/h à 0,5 bar"><cfset t_datasheet = "Fiche technique Quorvel (PDF)"><cfset t_screen = "Écran"><cfset t_window = "Fenêtre">
<cfset t_flow = "Débit Q"><cfset t_dp = "Perte de charge &Delta;p"><cfset t_calc = "Calculer"><cfset t_formula = "Kvs = Q · &radic;(1 / &Delta;p)">
<cfset t_required = "Kvs nécessaire"><cfset t_invalid = "Veuillez saisir un débit et une perte de charge supérieurs à zéro.">
<cfset t_suggest = "Vannes qui conviennent, trois au plus par série"><cfset t_none = "Aucune vanne du catalogue n’atteint ce Kvs.">
<cfset t_article = "Article"><cfset t_price = "Prix CHF"><cfset t_stock = "Stock"><cfset t_yes = "en stock"><cfset t_no = "sur commande"><cfset t_save = "Enregistrer">
<cfset t_savedok = "La sélection a été enregistrée."><cfset t_nosaved = "Aucune sélection enregistrée."><cfset t_savefail = "La sélection n’a pas pu être enregistrée.">
<cfset t_series = "Série"><cfset t_body = "Corps"><cfset t_valves = "Vannes">
<cfelseif lang eq 3>
<cfset t_lang = "it"><cfset bodycol = "body_it">
<cfset t_title = "Quorvel Selezione"><cfset t_heading = "Quorvel selezione valvole">
<cfset t_home = "Pagina iniziale"><cfset t_sizing = "Dimensionare una valvola"><cfset t_catalogue = "Catalogo"><cfset t_saved = "Selezioni salvate"><cfset t_back = "Indietro">
<cfset t_welcome = "Benvenuti! Questa applicazione d’esempio dimensiona una valvola di regolazione delle serie Quorvel: dalla portata e dalla perdita di carico risulta il Kvs necessario, e il catalogo mostra le valvole adatte.">
<cfset t_example = "Esempio: 12 m³/h a 0,5 bar"><cfset t_datasheet = "Scheda tecnica Quorvel (PDF)"><cfset t_screen = "Schermo"><cfset t_window = "Finestra">
<cfset t_flow = "Portata Q"><cfset t_dp = "Perdita di carico &Delta;p"><cfset t_calc = "Calcolare"><cfset t_formula = "Kvs = Q · &radic;(1 / &Delta;p)">
<cfset t_required = "Kvs necessario"><cfset t_invalid = "Inserire una portata e una perdita di carico maggiori di zero.">
<cfset t_suggest = "Valvole adatte, al massimo tre per serie"><cfset t_none = "Nessuna valvola del catalogo raggiunge questo Kvs.">
<cfset t_article = "Articolo"><cfset t_price = "Prezzo CHF"><cfset t_stock = "Magazzino"><cfset t_yes = "disponibile"><cfset t_no = "su ordinazione"><cfset t_save = "Salvare">
<cfset t_savedok = "La selezione è stata salvata."><cfset t_nosaved = "Nessuna selezione salvata."><cfset t_savefail = "Non è stato possibile salvare la selezione.">
<cfset t_series = "Serie"><cfset t_body = "Corpo"><cfset t_valves = "Valvole">
<cfelse>
<cfset t_lang = "en"><cfset bodycol = "body_en">
<cfset t_title = "Quorvel Sizer"><cfset t_heading = "Quorvel valve selection">
<cfset t_home = "Start page"><cfset t_sizing = "Size a valve"><cfset t_catalogue = "Catalogue"><cfset t_saved = "Saved selections"><cfset t_back = "Back">
<cfset t_welcome = "Welcome! This sample application sizes a control valve of the Quorvel series: the flow and the pressure drop give the required Kvs, and the catalogue shows the valves that fit.">
<cfset t_example = "Example: 12 m³/h at 0.5 bar"><cfset t_datasheet = "Quorvel data sheet (PDF)"><cfset t_screen = "Screen"><cfset t_window = "Window">
<cfset t_flow = "Flow Q"><cfset t_dp = "Pressure drop &Delta;p"><cfset t_calc = "Calculate"><cfset t_formula = "Kvs = Q · &radic;(1 / &Delta;p)">
<cfset t_required = "Required Kvs"><cfset t_invalid = "Please enter a flow and a pressure drop greater than zero.">
<cfset t_suggest = "Valves that fit, at most three per series"><cfset t_none = "No valve in the catalogue reaches this Kvs.">
<cfset t_article = "Article"><cfset t_price = "Price CHF"><cfset t_stock = "Stock"><cfset t_yes = "in stock"><cfset t_no = "to order"><cfset t_save = "Save">
<cfset t_savedok = "The selection was saved."><cfset t_nosaved = "No selection saved yet."><cfset t_savefail = "The selection could not be saved.">
<cfset t_series = "Series"><cfset t_body = "Body"><cfset t_valves = "Valves">
</cfif>
<cfset fmt1 = localize("0.0")><cfset fmt2 = localize("0.00")>
<cfif application.DecimalCode eq ","><cfset fmtprice = "0.000,00"><cfelse><cfset fmtprice = "0,000.00"></cfif>
