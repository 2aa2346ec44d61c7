<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>BarcodeController</name>
    <message>
        <source>The barcode could not be copied. Check the number.</source>
        <translation>Impossible de copier le code-barres. Vérifiez le numéro.</translation>
    </message>
    <message>
        <source>The barcode could not be printed. Check the number and the printer.</source>
        <translation>Impossible d&apos;imprimer le code-barres. Vérifiez le numéro et l&apos;imprimante.</translation>
    </message>
    <message>
        <source>About Strimlo</source>
        <translation>À propos de Strimlo</translation>
    </message>
    <message>
        <source>Strimlo Help</source>
        <translation>Aide de Strimlo</translation>
    </message>
    <message>
        <source>ISBN Range File</source>
        <translation>Fichier des tranches ISBN</translation>
    </message>
    <message>
        <source>ISBN range file: %1, message date %2.</source>
        <translation>Fichier des tranches ISBN&#xa0;: %1, daté du %2.</translation>
    </message>
    <message>
        <source>No ISBN range file: ISBN lines are shown as typed.</source>
        <translation>Aucun fichier des tranches ISBN&#xa0;: les lignes ISBN sont montrées telles que saisies.</translation>
    </message>
</context>
<context>
    <name>Choices</name>
    <message>
        <source>Encapsulated PostScript (*.eps)</source>
        <translation>PostScript encapsulé (*.eps)</translation>
    </message>
    <message>
        <source>PNG image (*.png)</source>
        <translation>Image PNG (*.png)</translation>
    </message>
    <message>
        <source>TIFF image (*.tiff)</source>
        <translation>Image TIFF (*.tiff)</translation>
    </message>
    <message>
        <source>JPEG image (*.jpg)</source>
        <translation>Image JPEG (*.jpg)</translation>
    </message>
    <message>
        <source>“%1” already exists. Replace it?</source>
        <translation>«&#xa0;%1&#xa0;» existe déjà. Le remplacer&#xa0;?</translation>
    </message>
    <message>
        <source>PDF for print (*.pdf)</source>
        <translation>PDF pour l&apos;impression (*.pdf)</translation>
    </message>
    <message>
        <source>SVG image (*.svg)</source>
        <translation>Image SVG (*.svg)</translation>
    </message>
    <message>
        <source>Does not scan at %1 dpi</source>
        <translation>Illisible à %1 dpi</translation>
    </message>
    <message>
        <source>Scans: %1 (%2) at %3 dpi</source>
        <translation>Lecture&#xa0;: %1 (%2) à %3 dpi</translation>
    </message>
    <message>
        <source>Weakest: %1</source>
        <translation>Point faible&#xa0;: %1</translation>
    </message>
    <message>
        <source>Reads as meant: %1 at %2 dpi</source>
        <translation>Lu comme prévu&#xa0;: %1 à %2 dpi</translation>
    </message>
    <message>
        <source>The 2D companion does not scan at %1 dpi</source>
        <translation>Le code 2D joint n’est pas lisible à %1 dpi</translation>
    </message>
    <message>
        <source>2D companion: %1</source>
        <translation>Code 2D joint&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Save Barcode</source>
        <translation>Enregistrer le code-barres</translation>
    </message>
    <message>
        <source>Makes retail barcodes: EAN-8 and EAN-13 for products, ISBN-10 and ISBN-13 for books, with an optional 5-digit add-on and a price line.</source>
        <translation>Crée des codes-barres pour le commerce&#xa0;: EAN-8 et EAN-13 pour les produits, ISBN-10 et ISBN-13 pour les livres, avec un complément facultatif de 5 chiffres et une ligne de prix.</translation>
    </message>
    <message>
        <source>Saves them as a print-ready PDF, an SVG or an EPS, or as PNG, TIFF or JPEG images at an exact size and resolution.</source>
        <translation>Les enregistre en PDF prêt à imprimer, en SVG ou en EPS, ou en images PNG, TIFF ou JPEG à une taille et une résolution exactes.</translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>Making a barcode with Strimlo</source>
        <translation>Créer un code-barres avec Strimlo</translation>
    </message>
    <message>
        <source>&lt;b&gt;Number.&lt;/b&gt; Type the number you were given:</source>
        <translation>&lt;b&gt;Numéro.&lt;/b&gt; Saisissez le numéro qui vous a été attribué&#xa0;:</translation>
    </message>
    <message>
        <source>ISBN-10 or ISBN-13: the book number, with or without hyphens, for example 978-0-306-40615-7. The hyphens appear in the &quot;ISBN&quot; line above the bars.</source>
        <translation>ISBN-10 ou ISBN-13&#xa0;: le numéro du livre, avec ou sans tirets, par exemple 978-0-306-40615-7. Les tirets apparaissent dans la ligne «&#xa0;ISBN&#xa0;» au-dessus des barres.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Copy, drag or print.&lt;/b&gt; Edit &amp;gt; Copy Barcode (Ctrl+C) puts the barcode on the clipboard as a 300 dpi image of the standard size. Drag the preview into another program, or into a folder for a file in the chosen format. File &amp;gt; Print (Ctrl+P) prints it at the chosen print size; turn off any scaling in the print dialog.</source>
        <translation>&lt;b&gt;Copier, glisser ou imprimer.&lt;/b&gt; Édition &amp;gt; Copier le code-barres (Ctrl+C) place le code-barres dans le presse-papiers sous forme d&apos;image à 300&#xa0;ppp de taille standard. Faites glisser l&apos;aperçu dans un autre programme, ou dans un dossier pour obtenir un fichier au format choisi. Fichier &amp;gt; Imprimer (Ctrl+P) l&apos;imprime à la taille d&apos;impression choisie&#xa0;; désactivez toute mise à l&apos;échelle dans la boîte de dialogue d&apos;impression.</translation>
    </message>
    <message>
        <source>The preview follows every key you type. When it shows a line of help instead of a barcode, the number does not have the right number of digits yet.</source>
        <translation>L&apos;aperçu suit chaque touche que vous tapez. S&apos;il affiche une ligne d&apos;aide au lieu d&apos;un code-barres, le numéro n&apos;a pas encore le bon nombre de chiffres.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Save.&lt;/b&gt; Choose a file format. PDF is what print services and book distributors ask for: sharp at the print size you pick, black on the black plate only, the font embedded. SVG is sharp too, for web pages and layout programs. EPS is the older vector format, drawn at one fixed size. PNG, TIFF and JPEG are images: pick the print size (100% is the standard size, with 0.33 mm as the narrowest bar) and the resolution of your printer (300 dpi suits most office printers).</source>
        <translation>&lt;b&gt;Enregistrer.&lt;/b&gt; Choisissez un format de fichier. Le PDF est ce que demandent les services d&apos;impression et les distributeurs de livres&#xa0;: net à la taille d&apos;impression choisie, le noir sur la seule plaque noire, la police incorporée. Le SVG est net lui aussi, pour les pages web et les logiciels de mise en page. EPS est l&apos;ancien format vectoriel, toujours à une taille fixe. PNG, TIFF et JPEG sont des images&#xa0;: choisissez la taille d&apos;impression (100&#xa0;% est la taille standard, avec 0,33&#xa0;mm pour la barre la plus fine) et la résolution de votre imprimante (300&#xa0;ppp convient à la plupart des imprimantes de bureau).</translation>
    </message>
    <message>
        <source>&lt;b&gt;Barcode type.&lt;/b&gt; EAN-13 is the usual code on products sold in shops; EAN-8 is the short version for small packages. UPC-A is the product code of the United States and Canada, UPC-E its short version. ISBN-10 and ISBN-13 are for books (both print as the 13-digit book code), ISSN for magazines and newspapers, ISMN for printed music.</source>
        <translation>&lt;b&gt;Type de code-barres.&lt;/b&gt; EAN-13 est le code habituel des produits vendus en magasin&#xa0;; EAN-8 en est la version courte pour les petits emballages. UPC-A est le code des produits des États-Unis et du Canada, UPC-E sa version courte. ISBN-10 et ISBN-13 sont pour les livres (les deux s&apos;impriment comme le code de livre à 13 chiffres), ISSN pour les magazines et journaux, ISMN pour la musique imprimée.</translation>
    </message>
    <message>
        <source>EAN-13: 12 digits, EAN-8: 7 digits, UPC-A: 11 digits. The last digit, the check digit, is worked out for you; if you type it too, it is replaced.</source>
        <translation>EAN-13&#xa0;: 12 chiffres, EAN-8&#xa0;: 7 chiffres, UPC-A&#xa0;: 11 chiffres. Le dernier chiffre, la clé de contrôle, est calculé pour vous&#xa0;; si vous le saisissez aussi, il est remplacé.</translation>
    </message>
    <message>
        <source>UPC-E: the 6 digits under the bars, for example 123456, or with the number system 0 in front and the check digit behind. A full UPC-A of 11 or 12 digits is shortened when its zeros allow it; otherwise you are told why not.</source>
        <translation>UPC-E&#xa0;: les 6 chiffres sous les barres, par exemple 123456, ou avec le système de numérotation 0 devant et la clé de contrôle derrière. Un UPC-A complet de 11 ou 12 chiffres est raccourci quand ses zéros le permettent&#xa0;; sinon, on vous dit pourquoi.</translation>
    </message>
    <message>
        <source>ISSN: the magazine number, with or without its hyphen, for example 0317-8471. The &lt;b&gt;variant&lt;/b&gt; field takes the 2-digit sequence variant, 00 unless your publisher says otherwise.</source>
        <translation>ISSN&#xa0;: le numéro du magazine, avec ou sans tiret, par exemple 0317-8471. Le champ &lt;b&gt;variante&lt;/b&gt; reçoit la variante de séquence à 2 chiffres, 00 sauf indication contraire de votre éditeur.</translation>
    </message>
    <message>
        <source>ISMN: the music number, 979-0-2600-0043-8, or in the older form M-2600-0043-8, which is printed as 979-0-2600-0043-8.</source>
        <translation>ISMN&#xa0;: le numéro de la partition, 979-0-2600-0043-8, ou dans l&apos;ancienne forme M-2600-0043-8, imprimée comme 979-0-2600-0043-8.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Add-on and price.&lt;/b&gt; The add-on is a small second barcode. Books take exactly 5 digits, often the price code (for example 51299 for US$ 12.99); UPC-A, UPC-E, ISSN and ISMN take 2 digits (a magazine&apos;s issue number, for example 03) or 5. The price text is printed above the add-on of books and printed music as you type it. All may stay empty.</source>
        <translation>&lt;b&gt;Complément et prix.&lt;/b&gt; Le complément est un petit second code-barres. Les livres prennent exactement 5 chiffres, souvent le code de prix (par exemple 51299 pour 12,99&#xa0;$ US)&#xa0;; UPC-A, UPC-E, ISSN et ISMN prennent 2 chiffres (le numéro d&apos;un magazine, par exemple 03) ou 5. Le texte du prix est imprimé tel que vous le saisissez au-dessus du complément des livres et de la musique imprimée. Tout peut rester vide.</translation>
    </message>
    <message>
        <source>&lt;b&gt;2D codes.&lt;/b&gt; Shops are moving to 2D codes by 2027. Choose GS1 QR Code (a GS1 Digital Link, read by phones and tills) or GS1 DataMatrix as the barcode type and type the GTIN or the book number; or keep your EAN, UPC, ISBN, ISSN or ISMN and choose a 2D companion to print both side by side. GS1 elements adds data after the GTIN as (AI)value, for example (10)ABC123(17)271231 for a batch and an expiry date. For a 2D type, type the module into the print size, for example 0.5 mm (0.396 to 0.990 mm).</source>
        <translation>&lt;b&gt;Codes 2D.&lt;/b&gt; Le commerce passe aux codes 2D d’ici 2027. Choisissez GS1 QR Code (un GS1 Digital Link, lu par les téléphones et les caisses) ou GS1 DataMatrix comme type de code-barres et saisissez le GTIN ou le numéro du livre&#xa0;; ou gardez votre EAN, UPC, ISBN, ISSN ou ISMN et choisissez un code 2D joint pour imprimer les deux côte à côte. Données GS1 en plus ajoute des données après le GTIN sous la forme (AI)valeur, par exemple (10)ABC123(17)271231 pour un lot et une date de péremption. Pour un type 2D, saisissez le module dans la taille d’impression, par exemple 0.5 mm (0,396 à 0,990 mm).</translation>
    </message>
</context>
<context>
    <name>Info.ini</name>
    <message>
        <source>The barcode was saved.</source>
        <translation>Le code-barres a été enregistré.</translation>
    </message>
    <message>
        <source>The barcode could not be saved. Check the data and the folder, and try again.</source>
        <translation>Impossible d&apos;enregistrer le code-barres. Vérifiez les données et le dossier, puis réessayez.</translation>
    </message>
    <message>
        <source>EAN-13 needs 12 digits, EAN-8 7, UPC-A 11, UPC-E 6; the check digit is added for you.
ISBN, ISSN, ISMN: the number, with or without hyphens; an ISSN variant: 2 digits.
Add-on: 5 digits for books; 2 or 5 for UPC, ISSN and ISMN.</source>
        <translation>EAN-13 demande 12 chiffres, EAN-8 7, UPC-A 11, UPC-E 6&#xa0;; la clé de contrôle est ajoutée pour vous.
ISBN, ISSN, ISMN&#xa0;: le numéro, avec ou sans tirets&#xa0;; une variante ISSN&#xa0;: 2 chiffres.
Complément&#xa0;: 5 chiffres pour les livres&#xa0;; 2 ou 5 pour UPC, ISSN et ISMN.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Barcode preview</source>
        <translation>Aperçu du code-barres</translation>
    </message>
    <message>
        <source>The barcode as it will be saved, copied or printed. Ctrl+C copies it; drag it into another program or a folder.</source>
        <translation>Le code-barres tel qu&apos;il sera enregistré, copié ou imprimé. Ctrl+C le copie&#xa0;; faites-le glisser dans un autre programme ou un dossier.</translation>
    </message>
    <message>
        <source>Barcode</source>
        <translation>Code-barres</translation>
    </message>
    <message>
        <source>Barcode &amp;type:</source>
        <translation>&amp;Type de code-barres&#xa0;:</translation>
    </message>
    <message>
        <source>Barcode type</source>
        <translation>Type de code-barres</translation>
    </message>
    <message>
        <source>EAN-8 (small products)</source>
        <translation>EAN-8 (petits produits)</translation>
    </message>
    <message>
        <source>EAN-13 (products)</source>
        <translation>EAN-13 (produits)</translation>
    </message>
    <message>
        <source>ISBN-10 (books)</source>
        <translation>ISBN-10 (livres)</translation>
    </message>
    <message>
        <source>ISBN-13 (books)</source>
        <translation>ISBN-13 (livres)</translation>
    </message>
    <message>
        <source>&amp;Number:</source>
        <translation>&amp;Numéro&#xa0;:</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Numéro</translation>
    </message>
    <message>
        <source>The product or book number to encode; the check digit is added for you.</source>
        <translation>Le numéro du produit ou du livre à coder&#xa0;; la clé de contrôle est ajoutée pour vous.</translation>
    </message>
    <message>
        <source>the product or book number</source>
        <translation>le numéro du produit ou du livre</translation>
    </message>
    <message>
        <source>&amp;Add-on:</source>
        <translation>Co&amp;mplément&#xa0;:</translation>
    </message>
    <message>
        <source>Add-on</source>
        <translation>Complément</translation>
    </message>
    <message>
        <source>&amp;Price text:</source>
        <translation>&amp;Prix affiché&#xa0;:</translation>
    </message>
    <message>
        <source>Price text</source>
        <translation>Prix affiché</translation>
    </message>
    <message>
        <source>Save to file</source>
        <translation>Enregistrer dans un fichier</translation>
    </message>
    <message>
        <source>File f&amp;ormat:</source>
        <translation>F&amp;ormat de fichier&#xa0;:</translation>
    </message>
    <message>
        <source>File format</source>
        <translation>Format de fichier</translation>
    </message>
    <message>
        <source>EPS for print, or a PNG, TIFF or JPEG image.</source>
        <translation>EPS pour l&apos;impression, ou une image PNG, TIFF ou JPEG.</translation>
    </message>
    <message>
        <source>EPS (vector, for print)</source>
        <translation>EPS (vectoriel, pour l&apos;impression)</translation>
    </message>
    <message>
        <source>PNG image</source>
        <translation>Image PNG</translation>
    </message>
    <message>
        <source>TIFF image</source>
        <translation>Image TIFF</translation>
    </message>
    <message>
        <source>JPEG image</source>
        <translation>Image JPEG</translation>
    </message>
    <message>
        <source>Print si&amp;ze:</source>
        <translation>Ta&amp;ille d&apos;impression&#xa0;:</translation>
    </message>
    <message>
        <source>Print size</source>
        <translation>Taille d&apos;impression</translation>
    </message>
    <message>
        <source>The size against the standard, with the width of the thinnest bar; also the size the barcode prints at.</source>
        <translation>La taille par rapport à la norme, avec la largeur de la barre la plus fine&#xa0;; c&apos;est aussi la taille à laquelle le code-barres s&apos;imprime.</translation>
    </message>
    <message>
        <source>82% (0.27 mm)</source>
        <translation>82 % (0,27 mm)</translation>
    </message>
    <message>
        <source>91% (0.30 mm)</source>
        <translation>91 % (0,30 mm)</translation>
    </message>
    <message>
        <source>100% standard (0.33 mm)</source>
        <translation>100 % standard (0,33 mm)</translation>
    </message>
    <message>
        <source>110% (0.36 mm)</source>
        <translation>110 % (0,36 mm)</translation>
    </message>
    <message>
        <source>121% (0.40 mm)</source>
        <translation>121 % (0,40 mm)</translation>
    </message>
    <message>
        <source>136% (0.45 mm)</source>
        <translation>136 % (0,45 mm)</translation>
    </message>
    <message>
        <source>152% (0.50 mm)</source>
        <translation>152 % (0,50 mm)</translation>
    </message>
    <message>
        <source>167% (0.55 mm)</source>
        <translation>167 % (0,55 mm)</translation>
    </message>
    <message>
        <source>182% (0.60 mm)</source>
        <translation>182 % (0,60 mm)</translation>
    </message>
    <message>
        <source>197% (0.65 mm)</source>
        <translation>197 % (0,65 mm)</translation>
    </message>
    <message>
        <source>&amp;Resolution:</source>
        <translation>&amp;Résolution&#xa0;:</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>Résolution</translation>
    </message>
    <message>
        <source>The dots per inch of an image file.</source>
        <translation>Les points par pouce d&apos;un fichier image.</translation>
    </message>
    <message>
        <source>For PNG, TIFF and JPEG: the dots per inch of the printer the image is for.</source>
        <translation>Pour PNG, TIFF et JPEG&#xa0;: les points par pouce de l&apos;imprimante à laquelle l&apos;image est destinée.</translation>
    </message>
    <message>
        <source>72 dpi (screen)</source>
        <translation>72 ppp (écran)</translation>
    </message>
    <message>
        <source>100 dpi</source>
        <translation>100 ppp</translation>
    </message>
    <message>
        <source>300 dpi (most printers)</source>
        <translation>300 ppp (la plupart des imprimantes)</translation>
    </message>
    <message>
        <source>600 dpi</source>
        <translation>600 ppp</translation>
    </message>
    <message>
        <source>1200 dpi</source>
        <translation>1200 ppp</translation>
    </message>
    <message>
        <source>2400 dpi</source>
        <translation>2400 ppp</translation>
    </message>
    <message>
        <source>2540 dpi</source>
        <translation>2540 ppp</translation>
    </message>
    <message>
        <source>3200 dpi</source>
        <translation>3200 ppp</translation>
    </message>
    <message>
        <source>Save barcode</source>
        <translation>Enregistrer le code-barres</translation>
    </message>
    <message>
        <source>Asks for a file name and saves the barcode in the chosen format.</source>
        <translation>Demande un nom de fichier et enregistre le code-barres au format choisi.</translation>
    </message>
    <message>
        <source>&amp;Save Barcode…</source>
        <translation>&amp;Enregistrer le code-barres…</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>É&amp;dition</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>&amp;Print…</source>
        <translation>&amp;Imprimer…</translation>
    </message>
    <message>
        <source>Print the barcode at its exact size, in the middle of the page</source>
        <translation>Imprimer le code-barres à sa taille exacte, au milieu de la page</translation>
    </message>
    <message>
        <source>&amp;Copy Barcode</source>
        <translation>&amp;Copier le code-barres</translation>
    </message>
    <message>
        <source>Copy the barcode as a 300 dpi image at its standard size</source>
        <translation>Copier le code-barres sous forme d&apos;image à 300&#xa0;ppp de taille standard</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>Strimlo &amp;Help</source>
        <translation>&amp;Aide de Strimlo</translation>
    </message>
    <message>
        <source>&amp;About Strimlo</source>
        <translation>À &amp;propos de Strimlo</translation>
    </message>
    <message>
        <source>EPS keeps the barcode sharp at any size; PDF (black on the K plate only, for print) and SVG are sharp at the chosen print size; PNG, TIFF and JPEG are images of the chosen print size and resolution.</source>
        <translation>EPS garde le code-barres net à toute taille&#xa0;; PDF (noir sur la seule plaque noire, pour l&apos;impression) et SVG sont nets à la taille d&apos;impression choisie&#xa0;; PNG, TIFF et JPEG sont des images de la taille d&apos;impression et de la résolution choisies.</translation>
    </message>
    <message>
        <source>PDF (vector, for print)</source>
        <translation>PDF (vectoriel, pour l&apos;impression)</translation>
    </message>
    <message>
        <source>SVG (vector, for web and layout)</source>
        <translation>SVG (vectoriel, pour le web et la mise en page)</translation>
    </message>
    <message>
        <source>For PDF, SVG, PNG, TIFF and JPEG: the size against the standard (100%), with the width of the thinnest bar in millimetres. An EPS file is always drawn at one fixed size: a 0.296 mm bar, 89.6% of the standard.</source>
        <translation>Pour PDF, SVG, PNG, TIFF et JPEG : la taille par rapport au standard (100 %), avec la largeur de la barre la plus fine en millimètres. Un fichier EPS a toujours une taille fixe : une barre de 0,296 mm, soit 89,6 % du standard.</translation>
    </message>
    <message>
        <source>Prepress</source>
        <translation>Prépresse</translation>
    </message>
    <message>
        <source>Quiet zones</source>
        <translation>Zones de silence</translation>
    </message>
    <message>
        <source>Widens the file to the white margins scanners need and marks their edges with &gt; (and &lt; for EAN-8).</source>
        <translation>Agrandit le fichier jusqu&apos;aux marges blanches dont les lecteurs ont besoin et marque leurs bords par &gt; (et &lt; pour l&apos;EAN-8).</translation>
    </message>
    <message>
        <source>&amp;Quiet zones with &gt; marks</source>
        <translation>&amp;Zones de silence avec repères &gt;</translation>
    </message>
    <message>
        <source>Widens the file to the minimum white margins scanners need (EAN-13: 11 bar widths left, 7 right) and marks their edge with &gt; (and &lt; for EAN-8), so the symbol can be placed edge to edge with other artwork.</source>
        <translation>Agrandit le fichier jusqu&apos;aux marges blanches minimales dont les lecteurs ont besoin (EAN-13&#xa0;: 11 modules à gauche, 7 à droite) et marque leur bord par &gt; (et &lt; pour l&apos;EAN-8), pour que le symbole puisse être placé bord à bord avec d&apos;autres éléments.</translation>
    </message>
    <message>
        <source>&amp;Bar width reduction:</source>
        <translation>Réduction de largeur des &amp;barres&#xa0;:</translation>
    </message>
    <message>
        <source>Bar width reduction</source>
        <translation>Réduction de largeur des barres</translation>
    </message>
    <message>
        <source>Micrometres taken off every bar, its centre kept, against ink spread on press; 0 for none.</source>
        <translation>Micromètres retirés de chaque barre, centre conservé, contre l&apos;engraissement à l&apos;impression&#xa0;; 0 pour aucune.</translation>
    </message>
    <message>
        <source> µm</source>
        <translation> µm</translation>
    </message>
    <message>
        <source>Makes every bar this much narrower, keeping its centre, to make up for ink spreading on press: about 10 µm for offset at 2540 dpi, 20 µm for 1200 dpi lasers, 40 µm for 600 dpi. Images take it to the nearest whole pixel. The preview does not show it.</source>
        <translation>Amincit chaque barre d&apos;autant, en gardant son centre, pour compenser l&apos;engraissement à l&apos;impression&#xa0;: environ 10&#xa0;µm en offset à 2540&#xa0;ppp, 20&#xa0;µm pour les imprimantes laser à 1200&#xa0;ppp, 40&#xa0;µm à 600&#xa0;ppp. Les images l&apos;arrondissent au pixel entier. L&apos;aperçu ne le montre pas.</translation>
    </message>
    <message>
        <source>Transparent background</source>
        <translation>Fond transparent</translation>
    </message>
    <message>
        <source>PNG files without a background; not for TIFF and JPEG, which are opaque CMYK.</source>
        <translation>Fichiers PNG sans fond&#xa0;; pas pour TIFF et JPEG, qui sont en CMJN opaque.</translation>
    </message>
    <message>
        <source>Transparent bac&amp;kground</source>
        <translation>Fond tran&amp;sparent</translation>
    </message>
    <message>
        <source>PNG: only the bars and digits are opaque. EPS never paints a background. TIFF and JPEG are opaque CMYK images.</source>
        <translation>PNG&#xa0;: seules les barres et les chiffres sont opaques. L&apos;EPS ne peint jamais de fond. TIFF et JPEG sont des images CMJN opaques.</translation>
    </message>
    <message>
        <source>T&amp;ypeface:</source>
        <translation>Po&amp;lice&#xa0;:</translation>
    </message>
    <message>
        <source>Typeface</source>
        <translation>Police</translation>
    </message>
    <message>
        <source>The face of the digits and the lines above the bars.</source>
        <translation>La police des chiffres et des lignes au-dessus des barres.</translation>
    </message>
    <message>
        <source>Helvetica, or OCR-B as GS1 recommends for the digits. EPS, PDF and SVG files carry OCR-B as outlines.</source>
        <translation>Helvetica, ou OCR-B comme le recommande GS1 pour les chiffres. Les fichiers EPS, PDF et SVG portent l&apos;OCR-B en contours.</translation>
    </message>
    <message>
        <source>Helvetica</source>
        <translation>Helvetica</translation>
    </message>
    <message>
        <source>OCR-B</source>
        <translation>OCR-B</translation>
    </message>
    <message>
        <source>Text as outlines</source>
        <translation>Texte vectorisé</translation>
    </message>
    <message>
        <source>EPS and PDF files draw every text as filled outlines and need no font.</source>
        <translation>Les fichiers EPS et PDF dessinent chaque texte en contours pleins et n&apos;ont besoin d&apos;aucune police.</translation>
    </message>
    <message>
        <source>Text as o&amp;utlines</source>
        <translation>Te&amp;xte vectorisé</translation>
    </message>
    <message>
        <source>EPS and PDF: every text as filled outlines, so that a print shop needs no font. SVG files always have outlines; images are unchanged.</source>
        <translation>EPS et PDF&#xa0;: chaque texte en contours pleins, pour que l&apos;imprimeur n&apos;ait besoin d&apos;aucune police. Les fichiers SVG ont toujours des contours&#xa0;; les images ne changent pas.</translation>
    </message>
    <message>
        <source>EAN-8 or EAN-13 for products, UPC-A or UPC-E for US and Canadian products, ISBN-10 or ISBN-13 for books, ISSN for magazines, ISMN for printed music.</source>
        <translation>EAN-8 ou EAN-13 pour les produits, UPC-A ou UPC-E pour les produits des États-Unis et du Canada, ISBN-10 ou ISBN-13 pour les livres, ISSN pour les magazines, ISMN pour la musique imprimée.</translation>
    </message>
    <message>
        <source>EAN-13 and EAN-8 are the codes on products in shops, UPC-A and UPC-E their US and Canadian forms; ISBN-10 and ISBN-13 are for books, ISSN for magazines, ISMN for printed music.</source>
        <translation>EAN-13 et EAN-8 sont les codes des produits en magasin, UPC-A et UPC-E leurs formes aux États-Unis et au Canada&#xa0;; ISBN-10 et ISBN-13 sont pour les livres, ISSN pour les magazines, ISMN pour la musique imprimée.</translation>
    </message>
    <message>
        <source>UPC-A (US and Canada products)</source>
        <translation>UPC-A (produits des États-Unis et du Canada)</translation>
    </message>
    <message>
        <source>UPC-E (small US products)</source>
        <translation>UPC-E (petits produits des États-Unis)</translation>
    </message>
    <message>
        <source>ISSN (magazines)</source>
        <translation>ISSN (magazines)</translation>
    </message>
    <message>
        <source>ISMN (printed music)</source>
        <translation>ISMN (musique imprimée)</translation>
    </message>
    <message>
        <source>GS1 QR Code (Digital Link)</source>
        <translation>GS1 QR Code (Digital Link)</translation>
    </message>
    <message>
        <source>GS1 DataMatrix (element string)</source>
        <translation>GS1 DataMatrix (chaîne d&apos;éléments)</translation>
    </message>
    <message>
        <source>EAN-13: 12 digits, EAN-8: 7 digits, UPC-A: 11 digits, UPC-E: 6 digits (the check digit is added for you). ISBN, ISSN, ISMN: the number, with or without hyphens.</source>
        <translation>EAN-13&#xa0;: 12 chiffres, EAN-8&#xa0;: 7 chiffres, UPC-A&#xa0;: 11 chiffres, UPC-E&#xa0;: 6 chiffres (la clé de contrôle est ajoutée pour vous). ISBN, ISSN, ISMN&#xa0;: le numéro, avec ou sans tirets.</translation>
    </message>
    <message>
        <source>Optional: a 5-digit add-on for books, often the price code; 2 or 5 digits for UPC, ISSN and ISMN.</source>
        <translation>Facultatif&#xa0;: un complément de 5 chiffres pour les livres, souvent le code de prix&#xa0;; 2 ou 5 chiffres pour UPC, ISSN et ISMN.</translation>
    </message>
    <message>
        <source>optional: 5 digits for books; 2 or 5 for UPC, ISSN, ISMN</source>
        <translation>facultatif&#xa0;: 5 chiffres pour les livres&#xa0;; 2 ou 5 pour UPC, ISSN, ISMN</translation>
    </message>
    <message>
        <source>A small second barcode beside the main one: 5 digits for a book, often the price code (e.g. 51299 for US$ 12.99); 2 or 5 digits for UPC, ISSN and ISMN (a magazine&apos;s issue number, e.g. 03).</source>
        <translation>Un petit second code-barres à côté du principal&#xa0;: 5 chiffres pour un livre, souvent le code de prix (p. ex. 51299 pour 12,99&#xa0;$ US)&#xa0;; 2 ou 5 chiffres pour UPC, ISSN et ISMN (le numéro d&apos;un magazine, p. ex. 03).</translation>
    </message>
    <message>
        <source>Books and printed music only, optional: the text printed above the add-on.</source>
        <translation>Livres et musique imprimée seulement, facultatif&#xa0;: le texte imprimé au-dessus du complément.</translation>
    </message>
    <message>
        <source>books and music only, optional: e.g. USD 12.99</source>
        <translation>facultatif&#xa0;: p. ex. USD 12.99</translation>
    </message>
    <message>
        <source>Printed as typed above the add-on of a book&apos;s or printed music&apos;s code.</source>
        <translation>Imprimé tel que saisi au-dessus du complément du code d&apos;un livre ou d&apos;une partition.</translation>
    </message>
    <message>
        <source>&amp;Variant:</source>
        <translation>&amp;Variante&#xa0;:</translation>
    </message>
    <message>
        <source>Variant</source>
        <translation>Variante</translation>
    </message>
    <message>
        <source>ISSN only, optional: the 2-digit sequence variant, 00 if empty.</source>
        <translation>ISSN seulement, facultatif&#xa0;: la variante de séquence à 2 chiffres, 00 si vide.</translation>
    </message>
    <message>
        <source>ISSN only, optional: 2 digits (00 if empty)</source>
        <translation>ISSN seulement, facultatif&#xa0;: 2 chiffres (00 si vide)</translation>
    </message>
    <message>
        <source>The ISSN&apos;s 2-digit sequence variant, encoded in the main barcode: 00 for most magazines; dailies put a price code and the weekday here.</source>
        <translation>La variante de séquence à 2 chiffres de l&apos;ISSN, codée dans le code-barres principal&#xa0;: 00 pour la plupart des magazines&#xa0;; les quotidiens y mettent un code de prix et le jour de la semaine.</translation>
    </message>
    <message>
        <source>Scan grade</source>
        <translation>Note de lecture</translation>
    </message>
    <message>
        <source>Price co&amp;de:</source>
        <translation>Code de pri&amp;x&#xa0;:</translation>
    </message>
    <message>
        <source>Price code currency</source>
        <translation>Devise du code de prix</translation>
    </message>
    <message>
        <source>Books and printed music only: the currency of the price the add-on and the price text are made from.</source>
        <translation>Livres et musique imprimée uniquement&#xa0;: la devise du prix dont sont tirés le complément et le prix affiché.</translation>
    </message>
    <message>
        <source>Price code amount</source>
        <translation>Montant du code de prix</translation>
    </message>
    <message>
        <source>Books and printed music only: the price, at most two decimals; fills the add-on and the price text.</source>
        <translation>Livres et musique imprimée uniquement&#xa0;: le prix, deux décimales au plus&#xa0;; remplit le complément et le prix affiché.</translation>
    </message>
    <message>
        <source>e.g. 19.99</source>
        <translation>p.&#xa0;ex. 19.99</translation>
    </message>
    <message>
        <source>ISBN &amp;Range File…</source>
        <translation>Fichier des &amp;tranches ISBN…</translation>
    </message>
    <message>
        <source>2D co&amp;mpanion:</source>
        <translation>Code 2D &amp;joint&#xa0;:</translation>
    </message>
    <message>
        <source>2D companion</source>
        <translation>Code 2D joint</translation>
    </message>
    <message>
        <source>EAN, UPC, ISBN, ISSN and ISMN: a 2D code of the same GTIN beside the barcode, for packs marked with both.</source>
        <translation>EAN, UPC, ISBN, ISSN et ISMN&#xa0;: un code 2D du même GTIN à côté du code-barres, pour les emballages marqués des deux.</translation>
    </message>
    <message>
        <source>Retail is moving to 2D codes by 2027: a QR Code with a GS1 Digital Link for phones and tills, or a GS1 DataMatrix for regulated goods, printed beside the barcode.</source>
        <translation>Le commerce passe aux codes 2D d’ici 2027&#xa0;: un QR Code avec un GS1 Digital Link pour les téléphones et les caisses, ou un GS1 DataMatrix pour les produits réglementés, imprimé à côté du code-barres.</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Aucun</translation>
    </message>
    <message>
        <source>QR Code (GS1 Digital Link)</source>
        <translation>QR Code (GS1 Digital Link)</translation>
    </message>
    <message>
        <source>GS1 DataMatrix</source>
        <translation>GS1 DataMatrix</translation>
    </message>
    <message>
        <source>GS1 e&amp;lements:</source>
        <translation>Données GS1 en pl&amp;us&#xa0;:</translation>
    </message>
    <message>
        <source>GS1 elements</source>
        <translation>Données GS1 en plus</translation>
    </message>
    <message>
        <source>2D codes only, optional: data after the GTIN as (AI)value, e.g. a batch and an expiry date.</source>
        <translation>Codes 2D seulement, facultatif&#xa0;: des données après le GTIN sous la forme (AI)valeur, par exemple un lot et une date de péremption.</translation>
    </message>
    <message>
        <source>2D only, optional: e.g. (10)ABC123(17)271231</source>
        <translation>2D seulement, facultatif&#xa0;: p. ex. (10)ABC123(17)271231</translation>
    </message>
    <message>
        <source>(10) batch or lot, (11) production date, (15) best before, (17) expiry (YYMMDD), (21) serial number, (22) consumer variant, (3100)–(3105) net weight in kg, (3920)–(3923) price.</source>
        <translation>(10) lot, (11) date de production, (15) à consommer de préférence avant, (17) date de péremption (AAMMJJ), (21) numéro de série, (22) variante consommateur, (3100)–(3105) poids net en kg, (3920)–(3923) prix.</translation>
    </message>
    <message>
        <source>Di&amp;gital Link domain:</source>
        <translation>Domaine Di&amp;gital Link&#xa0;:</translation>
    </message>
    <message>
        <source>Digital Link domain</source>
        <translation>Domaine Digital Link</translation>
    </message>
    <message>
        <source>QR Codes only, optional: the web address a phone opens, your brand&apos;s own resolver instead of GS1&apos;s.</source>
        <translation>QR Codes seulement, facultatif&#xa0;: l’adresse web qu’ouvre un téléphone, le résolveur de votre marque au lieu de celui de GS1.</translation>
    </message>
    <message>
        <source>QR Code only, optional: https://id.gs1.org or your own</source>
        <translation>QR Code seulement, facultatif&#xa0;: https://id.gs1.org ou la vôtre</translation>
    </message>
    <message>
        <source>The QR Code holds this address followed by /01/ and the GTIN, e.g. https://brand.example/01/09780306406157. Empty: GS1&apos;s resolver, https://id.gs1.org. https only; kept for the next start.</source>
        <translation>Le QR Code contient cette adresse suivie de /01/ et du GTIN, par exemple https://brand.example/01/09780306406157. Vide&#xa0;: le résolveur de GS1, https://id.gs1.org. https seulement&#xa0;; conservé pour le prochain lancement.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>The check digit %1 is wrong: the bars and digits use %2.</source>
        <translation>Le chiffre de contrôle %1 est faux : les barres et les chiffres utilisent %2.</translation>
    </message>
    <message>
        <source>The check character %1 is wrong (%2 is right): the line above the bars shows %2.</source>
        <translation>Le caractère de contrôle %1 est faux (%2 est correct) : la ligne au-dessus des barres montre %2.</translation>
    </message>
    <message>
        <source>No ISBN range file: the line shows the ISBN as typed. Choose the agency&apos;s RangeMessage.xml under File to hyphenate it.</source>
        <translation>Aucun fichier des tranches ISBN&#xa0;: la ligne montre l&apos;ISBN tel que saisi. Choisissez le RangeMessage.xml de l&apos;agence dans Fichier pour y placer les tirets.</translation>
    </message>
    <message>
        <source>The range file could not be copied.</source>
        <translation>Le fichier des tranches n&apos;a pas pu être copié.</translation>
    </message>
</context>
</TS>
