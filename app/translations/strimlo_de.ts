<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>BarcodeController</name>
    <message>
        <source>The barcode could not be copied. Check the number.</source>
        <translation>Der Barcode konnte nicht kopiert werden. Prüfen Sie die Nummer.</translation>
    </message>
    <message>
        <source>The barcode could not be printed. Check the number and the printer.</source>
        <translation>Der Barcode konnte nicht gedruckt werden. Prüfen Sie die Nummer und den Drucker.</translation>
    </message>
    <message>
        <source>About Strimlo</source>
        <translation>Über Strimlo</translation>
    </message>
    <message>
        <source>Strimlo Help</source>
        <translation>Strimlo-Hilfe</translation>
    </message>
    <message>
        <source>ISBN Range File</source>
        <translation>ISBN-Bereichsdatei</translation>
    </message>
    <message>
        <source>ISBN range file: %1, message date %2.</source>
        <translation>ISBN-Bereichsdatei: %1, Stand %2.</translation>
    </message>
    <message>
        <source>No ISBN range file: ISBN lines are shown as typed.</source>
        <translation>Keine ISBN-Bereichsdatei: ISBN-Zeilen erscheinen wie eingegeben.</translation>
    </message>
</context>
<context>
    <name>Choices</name>
    <message>
        <source>Encapsulated PostScript (*.eps)</source>
        <translation>Encapsulated PostScript (*.eps)</translation>
    </message>
    <message>
        <source>PNG image (*.png)</source>
        <translation>PNG-Bild (*.png)</translation>
    </message>
    <message>
        <source>TIFF image (*.tiff)</source>
        <translation>TIFF-Bild (*.tiff)</translation>
    </message>
    <message>
        <source>JPEG image (*.jpg)</source>
        <translation>JPEG-Bild (*.jpg)</translation>
    </message>
    <message>
        <source>“%1” already exists. Replace it?</source>
        <translation>„%1“ ist bereits vorhanden. Ersetzen?</translation>
    </message>
    <message>
        <source>PDF for print (*.pdf)</source>
        <translation>PDF für den Druck (*.pdf)</translation>
    </message>
    <message>
        <source>SVG image (*.svg)</source>
        <translation>SVG-Bild (*.svg)</translation>
    </message>
    <message>
        <source>Does not scan at %1 dpi</source>
        <translation>Nicht lesbar bei %1 dpi</translation>
    </message>
    <message>
        <source>Scans: %1 (%2) at %3 dpi</source>
        <translation>Lesbar: %1 (%2) bei %3 dpi</translation>
    </message>
    <message>
        <source>Weakest: %1</source>
        <translation>Schwächster Wert: %1</translation>
    </message>
    <message>
        <source>Reads as meant: %1 at %2 dpi</source>
        <translation>Wie gemeint gelesen: %1 bei %2 dpi</translation>
    </message>
    <message>
        <source>The 2D companion does not scan at %1 dpi</source>
        <translation>Der 2D-Begleitcode ist bei %1 dpi nicht lesbar</translation>
    </message>
    <message>
        <source>2D companion: %1</source>
        <translation>2D-Begleitcode: %1</translation>
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
        <translation>Barcode speichern</translation>
    </message>
    <message>
        <source>Makes retail barcodes: EAN-8 and EAN-13 for products, ISBN-10 and ISBN-13 for books, with an optional 5-digit add-on and a price line.</source>
        <translation>Erstellt Barcodes für den Handel: EAN-8 und EAN-13 für Produkte, ISBN-10 und ISBN-13 für Bücher, mit einem optionalen 5-stelligen Zusatzcode und einer Preiszeile.</translation>
    </message>
    <message>
        <source>Saves them as a print-ready PDF, an SVG or an EPS, or as PNG, TIFF or JPEG images at an exact size and resolution.</source>
        <translation>Speichert sie als druckfertiges PDF, als SVG oder EPS oder als PNG-, TIFF- oder JPEG-Bild in genauer Größe und Auflösung.</translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>Making a barcode with Strimlo</source>
        <translation>Einen Barcode mit Strimlo erstellen</translation>
    </message>
    <message>
        <source>&lt;b&gt;Number.&lt;/b&gt; Type the number you were given:</source>
        <translation>&lt;b&gt;Nummer.&lt;/b&gt; Geben Sie die Nummer ein, die Sie erhalten haben:</translation>
    </message>
    <message>
        <source>ISBN-10 or ISBN-13: the book number, with or without hyphens, for example 978-0-306-40615-7. The hyphens appear in the &quot;ISBN&quot; line above the bars.</source>
        <translation>ISBN-10 oder ISBN-13: die Buchnummer, mit oder ohne Bindestriche, zum Beispiel 978-0-306-40615-7. Die Bindestriche erscheinen in der „ISBN“-Zeile über den Strichen.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Copy, drag or print.&lt;/b&gt; Edit &amp;gt; Copy Barcode (Ctrl+C) puts the barcode on the clipboard as a 300 dpi image of the standard size. Drag the preview into another program, or into a folder for a file in the chosen format. File &amp;gt; Print (Ctrl+P) prints it at the chosen print size; turn off any scaling in the print dialog.</source>
        <translation>&lt;b&gt;Kopieren, ziehen oder drucken.&lt;/b&gt; Bearbeiten &amp;gt; Barcode kopieren (Strg+C) legt den Barcode als 300-dpi-Bild in Standardgröße in die Zwischenablage. Ziehen Sie die Vorschau in ein anderes Programm, oder in einen Ordner für eine Datei im gewählten Format. Datei &amp;gt; Drucken (Strg+P) druckt ihn in der gewählten Druckgröße; schalten Sie jede Skalierung im Druckdialog aus.</translation>
    </message>
    <message>
        <source>The preview follows every key you type. When it shows a line of help instead of a barcode, the number does not have the right number of digits yet.</source>
        <translation>Die Vorschau folgt jeder Taste, die Sie drücken. Zeigt sie statt eines Barcodes eine Hilfezeile, hat die Nummer noch nicht die richtige Anzahl Ziffern.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Save.&lt;/b&gt; Choose a file format. PDF is what print services and book distributors ask for: sharp at the print size you pick, black on the black plate only, the font embedded. SVG is sharp too, for web pages and layout programs. EPS is the older vector format, drawn at one fixed size. PNG, TIFF and JPEG are images: pick the print size (100% is the standard size, with 0.33 mm as the narrowest bar) and the resolution of your printer (300 dpi suits most office printers).</source>
        <translation>&lt;b&gt;Speichern.&lt;/b&gt; Wählen Sie ein Dateiformat. PDF ist das, was Druckdienstleister und Buchvertriebe verlangen: scharf in der gewählten Druckgröße, Schwarz nur auf der Schwarzplatte, die Schrift eingebettet. SVG ist ebenfalls scharf, für Webseiten und Layoutprogramme. EPS ist das ältere Vektorformat, immer in einer festen Größe. PNG, TIFF und JPEG sind Bilder: Wählen Sie die Druckgröße (100 % ist die Standardgröße, mit 0,33 mm als schmalstem Strich) und die Auflösung Ihres Druckers (300 dpi passen für die meisten Bürodrucker).</translation>
    </message>
    <message>
        <source>&lt;b&gt;Barcode type.&lt;/b&gt; EAN-13 is the usual code on products sold in shops; EAN-8 is the short version for small packages. UPC-A is the product code of the United States and Canada, UPC-E its short version. ISBN-10 and ISBN-13 are for books (both print as the 13-digit book code), ISSN for magazines and newspapers, ISMN for printed music.</source>
        <translation>&lt;b&gt;Barcode-Typ.&lt;/b&gt; EAN-13 ist der übliche Code auf Produkten im Handel; EAN-8 ist die kurze Form für kleine Packungen. UPC-A ist der Produktcode der USA und Kanadas, UPC-E seine kurze Form. ISBN-10 und ISBN-13 sind für Bücher (beide werden als 13-stelliger Buchcode gedruckt), ISSN für Zeitschriften und Zeitungen, ISMN für Musiknoten.</translation>
    </message>
    <message>
        <source>EAN-13: 12 digits, EAN-8: 7 digits, UPC-A: 11 digits. The last digit, the check digit, is worked out for you; if you type it too, it is replaced.</source>
        <translation>EAN-13: 12 Ziffern, EAN-8: 7 Ziffern, UPC-A: 11 Ziffern. Die letzte Ziffer, die Prüfziffer, wird für Sie berechnet; geben Sie sie mit ein, wird sie ersetzt.</translation>
    </message>
    <message>
        <source>UPC-E: the 6 digits under the bars, for example 123456, or with the number system 0 in front and the check digit behind. A full UPC-A of 11 or 12 digits is shortened when its zeros allow it; otherwise you are told why not.</source>
        <translation>UPC-E: die 6 Ziffern unter den Strichen, zum Beispiel 123456, oder mit dem Nummernsystem 0 davor und der Prüfziffer dahinter. Ein vollständiger UPC-A aus 11 oder 12 Ziffern wird gekürzt, wenn seine Nullen es erlauben; sonst erfahren Sie, warum nicht.</translation>
    </message>
    <message>
        <source>ISSN: the magazine number, with or without its hyphen, for example 0317-8471. The &lt;b&gt;variant&lt;/b&gt; field takes the 2-digit sequence variant, 00 unless your publisher says otherwise.</source>
        <translation>ISSN: die Nummer der Zeitschrift, mit oder ohne Bindestrich, zum Beispiel 0317-8471. Das Feld &lt;b&gt;Variante&lt;/b&gt; nimmt die 2-stellige Folgevariante auf, 00, wenn Ihr Verlag nichts anderes sagt.</translation>
    </message>
    <message>
        <source>ISMN: the music number, 979-0-2600-0043-8, or in the older form M-2600-0043-8, which is printed as 979-0-2600-0043-8.</source>
        <translation>ISMN: die Nummer der Musikalie, 979-0-2600-0043-8, oder in der älteren Form M-2600-0043-8, die als 979-0-2600-0043-8 gedruckt wird.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Add-on and price.&lt;/b&gt; The add-on is a small second barcode. Books take exactly 5 digits, often the price code (for example 51299 for US$ 12.99); UPC-A, UPC-E, ISSN and ISMN take 2 digits (a magazine&apos;s issue number, for example 03) or 5. The price text is printed above the add-on of books and printed music as you type it. All may stay empty.</source>
        <translation>&lt;b&gt;Zusatzcode und Preis.&lt;/b&gt; Der Zusatzcode ist ein kleiner zweiter Barcode. Bücher nehmen genau 5 Ziffern, oft den Preiscode (zum Beispiel 51299 für 12,99 US$); UPC-A, UPC-E, ISSN und ISMN nehmen 2 Ziffern (die Heftnummer einer Zeitschrift, zum Beispiel 03) oder 5. Der Preistext wird bei Büchern und Musiknoten so, wie Sie ihn eingeben, über dem Zusatzcode gedruckt. Alles darf leer bleiben.</translation>
    </message>
    <message>
        <source>&lt;b&gt;2D codes.&lt;/b&gt; Shops are moving to 2D codes by 2027. Choose GS1 QR Code (a GS1 Digital Link, read by phones and tills) or GS1 DataMatrix as the barcode type and type the GTIN or the book number; or keep your EAN, UPC, ISBN, ISSN or ISMN and choose a 2D companion to print both side by side. GS1 elements adds data after the GTIN as (AI)value, for example (10)ABC123(17)271231 for a batch and an expiry date. For a 2D type, type the module into the print size, for example 0.5 mm (0.396 to 0.990 mm).</source>
        <translation>&lt;b&gt;2D-Codes.&lt;/b&gt; Der Handel stellt bis 2027 auf 2D-Codes um. Wählen Sie GS1 QR Code (ein GS1 Digital Link, von Telefonen und Kassen gelesen) oder GS1 DataMatrix als Barcodetyp und geben Sie die GTIN oder die Buchnummer ein; oder behalten Sie Ihren EAN, UPC, ISBN, ISSN oder ISMN und wählen Sie einen 2D-Begleitcode, um beide nebeneinander zu drucken. GS1-Elemente fügt Daten nach der GTIN als (AI)Wert hinzu, zum Beispiel (10)ABC123(17)271231 für eine Charge und ein Verfallsdatum. Bei einem 2D-Typ geben Sie das Modul in die Druckgröße ein, zum Beispiel 0.5 mm (0,396 bis 0,990 mm).</translation>
    </message>
</context>
<context>
    <name>Info.ini</name>
    <message>
        <source>The barcode was saved.</source>
        <translation>Der Barcode wurde gespeichert.</translation>
    </message>
    <message>
        <source>The barcode could not be saved. Check the data and the folder, and try again.</source>
        <translation>Der Barcode konnte nicht gespeichert werden. Prüfen Sie die Daten und den Ordner und versuchen Sie es noch einmal.</translation>
    </message>
    <message>
        <source>EAN-13 needs 12 digits, EAN-8 7, UPC-A 11, UPC-E 6; the check digit is added for you.
ISBN, ISSN, ISMN: the number, with or without hyphens; an ISSN variant: 2 digits.
Add-on: 5 digits for books; 2 or 5 for UPC, ISSN and ISMN.</source>
        <translation>EAN-13 braucht 12 Ziffern, EAN-8 7, UPC-A 11, UPC-E 6; die Prüfziffer wird für Sie ergänzt.
ISBN, ISSN, ISMN: die Nummer, mit oder ohne Bindestriche; eine ISSN-Variante: 2 Ziffern.
Zusatzcode: 5 Ziffern für Bücher; 2 oder 5 für UPC, ISSN und ISMN.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Barcode preview</source>
        <translation>Barcode-Vorschau</translation>
    </message>
    <message>
        <source>The barcode as it will be saved, copied or printed. Ctrl+C copies it; drag it into another program or a folder.</source>
        <translation>Der Barcode, wie er gespeichert, kopiert oder gedruckt wird. Strg+C kopiert ihn; ziehen Sie ihn in ein anderes Programm oder einen Ordner.</translation>
    </message>
    <message>
        <source>Barcode</source>
        <translation>Barcode</translation>
    </message>
    <message>
        <source>Barcode &amp;type:</source>
        <translation>Barcode&amp;typ:</translation>
    </message>
    <message>
        <source>Barcode type</source>
        <translation>Barcode-Typ</translation>
    </message>
    <message>
        <source>EAN-8 (small products)</source>
        <translation>EAN-8 (kleine Produkte)</translation>
    </message>
    <message>
        <source>EAN-13 (products)</source>
        <translation>EAN-13 (Produkte)</translation>
    </message>
    <message>
        <source>ISBN-10 (books)</source>
        <translation>ISBN-10 (Bücher)</translation>
    </message>
    <message>
        <source>ISBN-13 (books)</source>
        <translation>ISBN-13 (Bücher)</translation>
    </message>
    <message>
        <source>&amp;Number:</source>
        <translation>&amp;Nummer:</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Nummer</translation>
    </message>
    <message>
        <source>The product or book number to encode; the check digit is added for you.</source>
        <translation>Die Produkt- oder Buchnummer, die codiert wird; die Prüfziffer wird für Sie ergänzt.</translation>
    </message>
    <message>
        <source>the product or book number</source>
        <translation>die Produkt- oder Buchnummer</translation>
    </message>
    <message>
        <source>&amp;Add-on:</source>
        <translation>&amp;Zusatzcode:</translation>
    </message>
    <message>
        <source>Add-on</source>
        <translation>Zusatzcode</translation>
    </message>
    <message>
        <source>&amp;Price text:</source>
        <translation>&amp;Preistext:</translation>
    </message>
    <message>
        <source>Price text</source>
        <translation>Preistext</translation>
    </message>
    <message>
        <source>Save to file</source>
        <translation>In Datei speichern</translation>
    </message>
    <message>
        <source>File f&amp;ormat:</source>
        <translation>Datei&amp;format:</translation>
    </message>
    <message>
        <source>File format</source>
        <translation>Dateiformat</translation>
    </message>
    <message>
        <source>EPS for print, or a PNG, TIFF or JPEG image.</source>
        <translation>EPS für den Druck, oder ein PNG-, TIFF- oder JPEG-Bild.</translation>
    </message>
    <message>
        <source>EPS (vector, for print)</source>
        <translation>EPS (Vektor, für den Druck)</translation>
    </message>
    <message>
        <source>PNG image</source>
        <translation>PNG-Bild</translation>
    </message>
    <message>
        <source>TIFF image</source>
        <translation>TIFF-Bild</translation>
    </message>
    <message>
        <source>JPEG image</source>
        <translation>JPEG-Bild</translation>
    </message>
    <message>
        <source>Print si&amp;ze:</source>
        <translation>Druck&amp;größe:</translation>
    </message>
    <message>
        <source>Print size</source>
        <translation>Druckgröße</translation>
    </message>
    <message>
        <source>The size against the standard, with the width of the thinnest bar; also the size the barcode prints at.</source>
        <translation>Die Größe im Verhältnis zum Standard, mit der Breite des schmalsten Strichs; auch die Größe, in der der Barcode gedruckt wird.</translation>
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
        <translation>100 % Standard (0,33 mm)</translation>
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
        <translation>&amp;Auflösung:</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>Auflösung</translation>
    </message>
    <message>
        <source>The dots per inch of an image file.</source>
        <translation>Die Punkte pro Zoll einer Bilddatei.</translation>
    </message>
    <message>
        <source>For PNG, TIFF and JPEG: the dots per inch of the printer the image is for.</source>
        <translation>Für PNG, TIFF und JPEG: die Punkte pro Zoll des Druckers, für den das Bild bestimmt ist.</translation>
    </message>
    <message>
        <source>72 dpi (screen)</source>
        <translation>72 dpi (Bildschirm)</translation>
    </message>
    <message>
        <source>100 dpi</source>
        <translation>100 dpi</translation>
    </message>
    <message>
        <source>300 dpi (most printers)</source>
        <translation>300 dpi (die meisten Drucker)</translation>
    </message>
    <message>
        <source>600 dpi</source>
        <translation>600 dpi</translation>
    </message>
    <message>
        <source>1200 dpi</source>
        <translation>1200 dpi</translation>
    </message>
    <message>
        <source>2400 dpi</source>
        <translation>2400 dpi</translation>
    </message>
    <message>
        <source>2540 dpi</source>
        <translation>2540 dpi</translation>
    </message>
    <message>
        <source>3200 dpi</source>
        <translation>3200 dpi</translation>
    </message>
    <message>
        <source>Save barcode</source>
        <translation>Barcode speichern</translation>
    </message>
    <message>
        <source>Asks for a file name and saves the barcode in the chosen format.</source>
        <translation>Fragt nach einem Dateinamen und speichert den Barcode im gewählten Format.</translation>
    </message>
    <message>
        <source>&amp;Save Barcode…</source>
        <translation>Barcode &amp;speichern…</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Print…</source>
        <translation>&amp;Drucken…</translation>
    </message>
    <message>
        <source>Print the barcode at its exact size, in the middle of the page</source>
        <translation>Den Barcode in genauer Größe in der Seitenmitte drucken</translation>
    </message>
    <message>
        <source>&amp;Copy Barcode</source>
        <translation>Barcode &amp;kopieren</translation>
    </message>
    <message>
        <source>Copy the barcode as a 300 dpi image at its standard size</source>
        <translation>Den Barcode als 300-dpi-Bild in Standardgröße kopieren</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Strimlo &amp;Help</source>
        <translation>Strimlo-&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About Strimlo</source>
        <translation>Ü&amp;ber Strimlo</translation>
    </message>
    <message>
        <source>EPS keeps the barcode sharp at any size; PDF (black on the K plate only, for print) and SVG are sharp at the chosen print size; PNG, TIFF and JPEG are images of the chosen print size and resolution.</source>
        <translation>EPS hält den Barcode in jeder Größe scharf; PDF (Schwarz nur auf der Schwarzplatte, für den Druck) und SVG sind in der gewählten Druckgröße scharf; PNG, TIFF und JPEG sind Bilder in der gewählten Druckgröße und Auflösung.</translation>
    </message>
    <message>
        <source>PDF (vector, for print)</source>
        <translation>PDF (Vektor, für den Druck)</translation>
    </message>
    <message>
        <source>SVG (vector, for web and layout)</source>
        <translation>SVG (Vektor, für Web und Layout)</translation>
    </message>
    <message>
        <source>For PDF, SVG, PNG, TIFF and JPEG: the size against the standard (100%), with the width of the thinnest bar in millimetres. An EPS file is always drawn at one fixed size: a 0.296 mm bar, 89.6% of the standard.</source>
        <translation>Für PDF, SVG, PNG, TIFF und JPEG: die Größe gegenüber dem Standard (100 %), mit der Breite des schmalsten Strichs in Millimetern. Eine EPS-Datei hat immer eine feste Größe: ein Strich von 0,296 mm, 89,6 % des Standards.</translation>
    </message>
    <message>
        <source>Prepress</source>
        <translation>Druckvorstufe</translation>
    </message>
    <message>
        <source>Quiet zones</source>
        <translation>Ruhezonen</translation>
    </message>
    <message>
        <source>Widens the file to the white margins scanners need and marks their edges with &gt; (and &lt; for EAN-8).</source>
        <translation>Erweitert die Datei um die weißen Ränder, die Scanner brauchen, und markiert ihre Kanten mit &gt; (bei EAN-8 auch mit &lt;).</translation>
    </message>
    <message>
        <source>&amp;Quiet zones with &gt; marks</source>
        <translation>&amp;Ruhezonen mit &gt;-Zeichen</translation>
    </message>
    <message>
        <source>Widens the file to the minimum white margins scanners need (EAN-13: 11 bar widths left, 7 right) and marks their edge with &gt; (and &lt; for EAN-8), so the symbol can be placed edge to edge with other artwork.</source>
        <translation>Erweitert die Datei um die weißen Ränder, die Scanner mindestens brauchen (EAN-13: 11 Modulbreiten links, 7 rechts), und markiert ihre Kante mit &gt; (bei EAN-8 auch mit &lt;), damit das Symbol Kante an Kante mit anderen Gestaltungselementen stehen kann.</translation>
    </message>
    <message>
        <source>&amp;Bar width reduction:</source>
        <translation>Balkenbreitenred&amp;uzierung:</translation>
    </message>
    <message>
        <source>Bar width reduction</source>
        <translation>Balkenbreitenreduzierung</translation>
    </message>
    <message>
        <source>Micrometres taken off every bar, its centre kept, against ink spread on press; 0 for none.</source>
        <translation>Mikrometer, die jedem Balken bei gleicher Mitte abgezogen werden, gegen die Farbzunahme im Druck; 0 für keine.</translation>
    </message>
    <message>
        <source> µm</source>
        <translation> µm</translation>
    </message>
    <message>
        <source>Makes every bar this much narrower, keeping its centre, to make up for ink spreading on press: about 10 µm for offset at 2540 dpi, 20 µm for 1200 dpi lasers, 40 µm for 600 dpi. Images take it to the nearest whole pixel. The preview does not show it.</source>
        <translation>Macht jeden Balken um so viel schmaler, bei gleicher Mitte, als Ausgleich für die Farbzunahme im Druck: etwa 10 µm für Offset bei 2540 dpi, 20 µm für Laserdrucker mit 1200 dpi, 40 µm für 600 dpi. Bilder runden auf ganze Pixel. Die Vorschau zeigt es nicht.</translation>
    </message>
    <message>
        <source>Transparent background</source>
        <translation>Transparenter Hintergrund</translation>
    </message>
    <message>
        <source>PNG files without a background; not for TIFF and JPEG, which are opaque CMYK.</source>
        <translation>PNG-Dateien ohne Hintergrund; nicht für TIFF und JPEG, die deckendes CMYK sind.</translation>
    </message>
    <message>
        <source>Transparent bac&amp;kground</source>
        <translation>Transparenter H&amp;intergrund</translation>
    </message>
    <message>
        <source>PNG: only the bars and digits are opaque. EPS never paints a background. TIFF and JPEG are opaque CMYK images.</source>
        <translation>PNG: Nur Balken und Ziffern sind deckend. EPS malt nie einen Hintergrund. TIFF und JPEG sind deckende CMYK-Bilder.</translation>
    </message>
    <message>
        <source>T&amp;ypeface:</source>
        <translation>S&amp;chriftart:</translation>
    </message>
    <message>
        <source>Typeface</source>
        <translation>Schriftart</translation>
    </message>
    <message>
        <source>The face of the digits and the lines above the bars.</source>
        <translation>Die Schrift der Ziffern und der Zeilen über den Balken.</translation>
    </message>
    <message>
        <source>Helvetica, or OCR-B as GS1 recommends for the digits. EPS, PDF and SVG files carry OCR-B as outlines.</source>
        <translation>Helvetica oder OCR-B, wie GS1 es für die Ziffern empfiehlt. EPS-, PDF- und SVG-Dateien enthalten OCR-B als Umrisse.</translation>
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
        <translation>Text als Umrisse</translation>
    </message>
    <message>
        <source>EPS and PDF files draw every text as filled outlines and need no font.</source>
        <translation>EPS- und PDF-Dateien zeichnen jeden Text als gefüllte Umrisse und brauchen keine Schrift.</translation>
    </message>
    <message>
        <source>Text as o&amp;utlines</source>
        <translation>Te&amp;xt als Umrisse</translation>
    </message>
    <message>
        <source>EPS and PDF: every text as filled outlines, so that a print shop needs no font. SVG files always have outlines; images are unchanged.</source>
        <translation>EPS und PDF: jeder Text als gefüllte Umrisse, damit die Druckerei keine Schrift braucht. SVG-Dateien haben immer Umrisse; Bilder bleiben unverändert.</translation>
    </message>
    <message>
        <source>EAN-8 or EAN-13 for products, UPC-A or UPC-E for US and Canadian products, ISBN-10 or ISBN-13 for books, ISSN for magazines, ISMN for printed music.</source>
        <translation>EAN-8 oder EAN-13 für Produkte, UPC-A oder UPC-E für Produkte aus den USA und Kanada, ISBN-10 oder ISBN-13 für Bücher, ISSN für Zeitschriften, ISMN für Musiknoten.</translation>
    </message>
    <message>
        <source>EAN-13 and EAN-8 are the codes on products in shops, UPC-A and UPC-E their US and Canadian forms; ISBN-10 and ISBN-13 are for books, ISSN for magazines, ISMN for printed music.</source>
        <translation>EAN-13 und EAN-8 sind die Codes auf Produkten im Handel, UPC-A und UPC-E ihre Formen in den USA und Kanada; ISBN-10 und ISBN-13 sind für Bücher, ISSN für Zeitschriften, ISMN für Musiknoten.</translation>
    </message>
    <message>
        <source>UPC-A (US and Canada products)</source>
        <translation>UPC-A (Produkte aus USA und Kanada)</translation>
    </message>
    <message>
        <source>UPC-E (small US products)</source>
        <translation>UPC-E (kleine US-Produkte)</translation>
    </message>
    <message>
        <source>ISSN (magazines)</source>
        <translation>ISSN (Zeitschriften)</translation>
    </message>
    <message>
        <source>ISMN (printed music)</source>
        <translation>ISMN (Musiknoten)</translation>
    </message>
    <message>
        <source>GS1 QR Code (Digital Link)</source>
        <translation>GS1 QR Code (Digital Link)</translation>
    </message>
    <message>
        <source>GS1 DataMatrix (element string)</source>
        <translation>GS1 DataMatrix (Elementstring)</translation>
    </message>
    <message>
        <source>EAN-13: 12 digits, EAN-8: 7 digits, UPC-A: 11 digits, UPC-E: 6 digits (the check digit is added for you). ISBN, ISSN, ISMN: the number, with or without hyphens.</source>
        <translation>EAN-13: 12 Ziffern, EAN-8: 7 Ziffern, UPC-A: 11 Ziffern, UPC-E: 6 Ziffern (die Prüfziffer wird für Sie ergänzt). ISBN, ISSN, ISMN: die Nummer, mit oder ohne Bindestriche.</translation>
    </message>
    <message>
        <source>Optional: a 5-digit add-on for books, often the price code; 2 or 5 digits for UPC, ISSN and ISMN.</source>
        <translation>Optional: ein 5-stelliger Zusatzcode für Bücher, oft der Preiscode; 2 oder 5 Ziffern für UPC, ISSN und ISMN.</translation>
    </message>
    <message>
        <source>optional: 5 digits for books; 2 or 5 for UPC, ISSN, ISMN</source>
        <translation>optional: 5 Ziffern für Bücher; 2 oder 5 für UPC, ISSN, ISMN</translation>
    </message>
    <message>
        <source>A small second barcode beside the main one: 5 digits for a book, often the price code (e.g. 51299 for US$ 12.99); 2 or 5 digits for UPC, ISSN and ISMN (a magazine&apos;s issue number, e.g. 03).</source>
        <translation>Ein kleiner zweiter Barcode neben dem Hauptcode: 5 Ziffern für ein Buch, oft der Preiscode (z. B. 51299 für 12,99 US$); 2 oder 5 Ziffern für UPC, ISSN und ISMN (die Heftnummer einer Zeitschrift, z. B. 03).</translation>
    </message>
    <message>
        <source>Books and printed music only, optional: the text printed above the add-on.</source>
        <translation>Nur für Bücher und Musiknoten, optional: der Text, der über dem Zusatzcode gedruckt wird.</translation>
    </message>
    <message>
        <source>books and music only, optional: e.g. USD 12.99</source>
        <translation>nur Bücher und Noten, optional: z. B. USD 12.99</translation>
    </message>
    <message>
        <source>Printed as typed above the add-on of a book&apos;s or printed music&apos;s code.</source>
        <translation>Wird wie eingegeben über dem Zusatzcode eines Buch- oder Notencodes gedruckt.</translation>
    </message>
    <message>
        <source>&amp;Variant:</source>
        <translation>&amp;Variante:</translation>
    </message>
    <message>
        <source>Variant</source>
        <translation>Variante</translation>
    </message>
    <message>
        <source>ISSN only, optional: the 2-digit sequence variant, 00 if empty.</source>
        <translation>Nur ISSN, optional: die 2-stellige Folgevariante, 00, wenn leer.</translation>
    </message>
    <message>
        <source>ISSN only, optional: 2 digits (00 if empty)</source>
        <translation>nur ISSN, optional: 2 Ziffern (00, wenn leer)</translation>
    </message>
    <message>
        <source>The ISSN&apos;s 2-digit sequence variant, encoded in the main barcode: 00 for most magazines; dailies put a price code and the weekday here.</source>
        <translation>Die 2-stellige Folgevariante der ISSN, im Hauptcode verschlüsselt: 00 für die meisten Zeitschriften; Tageszeitungen setzen hier einen Preiscode und den Wochentag ein.</translation>
    </message>
    <message>
        <source>Scan grade</source>
        <translation>Lesbarkeitsnote</translation>
    </message>
    <message>
        <source>Price co&amp;de:</source>
        <translation>Preisc&amp;ode:</translation>
    </message>
    <message>
        <source>Price code currency</source>
        <translation>Währung des Preiscodes</translation>
    </message>
    <message>
        <source>Books and printed music only: the currency of the price the add-on and the price text are made from.</source>
        <translation>Nur Bücher und Musikalien: die Währung des Preises, aus dem Zusatzcode und Preistext entstehen.</translation>
    </message>
    <message>
        <source>Price code amount</source>
        <translation>Betrag des Preiscodes</translation>
    </message>
    <message>
        <source>Books and printed music only: the price, at most two decimals; fills the add-on and the price text.</source>
        <translation>Nur Bücher und Musikalien: der Preis, höchstens zwei Nachkommastellen; füllt Zusatzcode und Preistext.</translation>
    </message>
    <message>
        <source>e.g. 19.99</source>
        <translation>z.&#xa0;B. 19.99</translation>
    </message>
    <message>
        <source>ISBN &amp;Range File…</source>
        <translation>&amp;ISBN-Bereichsdatei…</translation>
    </message>
    <message>
        <source>2D co&amp;mpanion:</source>
        <translation>2D-Beg&amp;leitcode:</translation>
    </message>
    <message>
        <source>2D companion</source>
        <translation>2D-Begleitcode</translation>
    </message>
    <message>
        <source>EAN, UPC, ISBN, ISSN and ISMN: a 2D code of the same GTIN beside the barcode, for packs marked with both.</source>
        <translation>EAN, UPC, ISBN, ISSN und ISMN: ein 2D-Code derselben GTIN neben dem Barcode, für Packungen mit beiden Kennzeichnungen.</translation>
    </message>
    <message>
        <source>Retail is moving to 2D codes by 2027: a QR Code with a GS1 Digital Link for phones and tills, or a GS1 DataMatrix for regulated goods, printed beside the barcode.</source>
        <translation>Der Handel stellt bis 2027 auf 2D-Codes um: ein QR-Code mit GS1 Digital Link für Telefone und Kassen oder ein GS1 DataMatrix für regulierte Waren, neben den Barcode gedruckt.</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keiner</translation>
    </message>
    <message>
        <source>QR Code (GS1 Digital Link)</source>
        <translation>QR-Code (GS1 Digital Link)</translation>
    </message>
    <message>
        <source>GS1 DataMatrix</source>
        <translation>GS1 DataMatrix</translation>
    </message>
    <message>
        <source>GS1 e&amp;lements:</source>
        <translation>GS1-&amp;Elemente:</translation>
    </message>
    <message>
        <source>GS1 elements</source>
        <translation>GS1-Elemente</translation>
    </message>
    <message>
        <source>2D codes only, optional: data after the GTIN as (AI)value, e.g. a batch and an expiry date.</source>
        <translation>Nur 2D-Codes, optional: Daten nach der GTIN als (AI)Wert, z. B. eine Charge und ein Verfallsdatum.</translation>
    </message>
    <message>
        <source>2D only, optional: e.g. (10)ABC123(17)271231</source>
        <translation>nur 2D, optional: z. B. (10)ABC123(17)271231</translation>
    </message>
    <message>
        <source>(10) batch or lot, (11) production date, (15) best before, (17) expiry (YYMMDD), (21) serial number, (22) consumer variant, (3100)–(3105) net weight in kg, (3920)–(3923) price.</source>
        <translation>(10) Charge oder Los, (11) Herstellungsdatum, (15) Mindesthaltbarkeit, (17) Verfallsdatum (JJMMTT), (21) Seriennummer, (22) Verbrauchervariante, (3100)–(3105) Nettogewicht in kg, (3920)–(3923) Preis.</translation>
    </message>
    <message>
        <source>Di&amp;gital Link domain:</source>
        <translation>Digital-Link-Do&amp;main:</translation>
    </message>
    <message>
        <source>Digital Link domain</source>
        <translation>Digital-Link-Domain</translation>
    </message>
    <message>
        <source>QR Codes only, optional: the web address a phone opens, your brand&apos;s own resolver instead of GS1&apos;s.</source>
        <translation>Nur QR-Codes, optional: die Webadresse, die ein Telefon öffnet, der eigene Resolver Ihrer Marke statt dem von GS1.</translation>
    </message>
    <message>
        <source>QR Code only, optional: https://id.gs1.org or your own</source>
        <translation>nur QR-Code, optional: https://id.gs1.org oder Ihre eigene</translation>
    </message>
    <message>
        <source>The QR Code holds this address followed by /01/ and the GTIN, e.g. https://brand.example/01/09780306406157. Empty: GS1&apos;s resolver, https://id.gs1.org. https only; kept for the next start.</source>
        <translation>Der QR-Code enthält diese Adresse, gefolgt von /01/ und der GTIN, z. B. https://brand.example/01/09780306406157. Leer: der Resolver von GS1, https://id.gs1.org. Nur https; bleibt für den nächsten Start erhalten.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>The check digit %1 is wrong: the bars and digits use %2.</source>
        <translation>Die Prüfziffer %1 ist falsch: Striche und Ziffern verwenden %2.</translation>
    </message>
    <message>
        <source>The check character %1 is wrong (%2 is right): the line above the bars shows %2.</source>
        <translation>Das Prüfzeichen %1 ist falsch (richtig ist %2): die Zeile über den Strichen zeigt %2.</translation>
    </message>
    <message>
        <source>No ISBN range file: the line shows the ISBN as typed. Choose the agency&apos;s RangeMessage.xml under File to hyphenate it.</source>
        <translation>Keine ISBN-Bereichsdatei: Die Zeile zeigt die ISBN wie eingegeben. Wählen Sie die RangeMessage.xml der ISBN-Agentur unter Datei, um sie mit Bindestrichen zu gliedern.</translation>
    </message>
    <message>
        <source>The range file could not be copied.</source>
        <translation>Die Bereichsdatei konnte nicht kopiert werden.</translation>
    </message>
</context>
</TS>
