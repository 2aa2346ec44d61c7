<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>BarcodeController</name>
    <message>
        <source>The barcode could not be copied. Check the number.</source>
        <translation>No se pudo copiar el código de barras. Compruebe el número.</translation>
    </message>
    <message>
        <source>The barcode could not be printed. Check the number and the printer.</source>
        <translation>No se pudo imprimir el código de barras. Compruebe el número y la impresora.</translation>
    </message>
    <message>
        <source>About Strimlo</source>
        <translation>Acerca de Strimlo</translation>
    </message>
    <message>
        <source>Strimlo Help</source>
        <translation>Ayuda de Strimlo</translation>
    </message>
    <message>
        <source>ISBN Range File</source>
        <translation>Archivo de rangos ISBN</translation>
    </message>
    <message>
        <source>ISBN range file: %1, message date %2.</source>
        <translation>Archivo de rangos ISBN: %1, con fecha %2.</translation>
    </message>
    <message>
        <source>No ISBN range file: ISBN lines are shown as typed.</source>
        <translation>No hay archivo de rangos ISBN: las líneas ISBN se muestran tal como se escribieron.</translation>
    </message>
</context>
<context>
    <name>Choices</name>
    <message>
        <source>Encapsulated PostScript (*.eps)</source>
        <translation>PostScript encapsulado (*.eps)</translation>
    </message>
    <message>
        <source>PNG image (*.png)</source>
        <translation>Imagen PNG (*.png)</translation>
    </message>
    <message>
        <source>TIFF image (*.tiff)</source>
        <translation>Imagen TIFF (*.tiff)</translation>
    </message>
    <message>
        <source>JPEG image (*.jpg)</source>
        <translation>Imagen JPEG (*.jpg)</translation>
    </message>
    <message>
        <source>“%1” already exists. Replace it?</source>
        <translation>«%1» ya existe. ¿Desea reemplazarlo?</translation>
    </message>
    <message>
        <source>PDF for print (*.pdf)</source>
        <translation>PDF para imprenta (*.pdf)</translation>
    </message>
    <message>
        <source>SVG image (*.svg)</source>
        <translation>Imagen SVG (*.svg)</translation>
    </message>
    <message>
        <source>Does not scan at %1 dpi</source>
        <translation>No se lee a %1 ppp</translation>
    </message>
    <message>
        <source>Scans: %1 (%2) at %3 dpi</source>
        <translation>Se lee: %1 (%2) a %3 ppp</translation>
    </message>
    <message>
        <source>Weakest: %1</source>
        <translation>Parámetro más débil: %1</translation>
    </message>
    <message>
        <source>Reads as meant: %1 at %2 dpi</source>
        <translation>Se lee como debe: %1 a %2 ppp</translation>
    </message>
    <message>
        <source>The 2D companion does not scan at %1 dpi</source>
        <translation>El código 2D adjunto no se lee a %1 ppp</translation>
    </message>
    <message>
        <source>2D companion: %1</source>
        <translation>Código 2D adjunto: %1</translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Save Barcode</source>
        <translation>Guardar código de barras</translation>
    </message>
    <message>
        <source>Makes retail barcodes: EAN-8 and EAN-13 for products, ISBN-10 and ISBN-13 for books, with an optional 5-digit add-on and a price line.</source>
        <translation>Crea códigos de barras comerciales: EAN-8 y EAN-13 para productos, ISBN-10 e ISBN-13 para libros, con un complemento opcional de 5 dígitos y una línea de precio.</translation>
    </message>
    <message>
        <source>Saves them as a print-ready PDF, an SVG or an EPS, or as PNG, TIFF or JPEG images at an exact size and resolution.</source>
        <translation>Los guarda como PDF listo para imprenta, SVG o EPS, o como imágenes PNG, TIFF o JPEG con un tamaño y una resolución exactos.</translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>Making a barcode with Strimlo</source>
        <translation>Cómo crear un código de barras con Strimlo</translation>
    </message>
    <message>
        <source>&lt;b&gt;Number.&lt;/b&gt; Type the number you were given:</source>
        <translation>&lt;b&gt;Número.&lt;/b&gt; Escriba el número que le han asignado:</translation>
    </message>
    <message>
        <source>ISBN-10 or ISBN-13: the book number, with or without hyphens, for example 978-0-306-40615-7. The hyphens appear in the &quot;ISBN&quot; line above the bars.</source>
        <translation>ISBN-10 o ISBN-13: el número del libro, con o sin guiones, por ejemplo 978-0-306-40615-7. Los guiones aparecen en la línea «ISBN» sobre las barras.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Copy, drag or print.&lt;/b&gt; Edit &amp;gt; Copy Barcode (Ctrl+C) puts the barcode on the clipboard as a 300 dpi image of the standard size. Drag the preview into another program, or into a folder for a file in the chosen format. File &amp;gt; Print (Ctrl+P) prints it at the chosen print size; turn off any scaling in the print dialog.</source>
        <translation>&lt;b&gt;Copiar, arrastrar o imprimir.&lt;/b&gt; Editar &amp;gt; Copiar código de barras (Ctrl+C) pone el código de barras en el portapapeles como imagen de 300 ppp en tamaño estándar. Arrastre la vista previa a otro programa, o a una carpeta para obtener un archivo en el formato elegido. Archivo &amp;gt; Imprimir (Ctrl+P) lo imprime en el tamaño de impresión elegido; desactive cualquier escalado en el diálogo de impresión.</translation>
    </message>
    <message>
        <source>The preview follows every key you type. When it shows a line of help instead of a barcode, the number does not have the right number of digits yet.</source>
        <translation>La vista previa sigue cada tecla que pulsa. Si muestra una línea de ayuda en lugar de un código de barras, el número aún no tiene la cantidad correcta de dígitos.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Save.&lt;/b&gt; Choose a file format. PDF is what print services and book distributors ask for: sharp at the print size you pick, black on the black plate only, the font embedded. SVG is sharp too, for web pages and layout programs. EPS is the older vector format, drawn at one fixed size. PNG, TIFF and JPEG are images: pick the print size (100% is the standard size, with 0.33 mm as the narrowest bar) and the resolution of your printer (300 dpi suits most office printers).</source>
        <translation>&lt;b&gt;Guardar.&lt;/b&gt; Elija un formato de archivo. PDF es lo que piden los servicios de impresión y los distribuidores de libros: nítido al tamaño de impresión elegido, el negro solo en la plancha de negro, la fuente incrustada. SVG también es nítido, para páginas web y programas de maquetación. EPS es el formato vectorial antiguo, siempre a un tamaño fijo. PNG, TIFF y JPEG son imágenes: elija el tamaño de impresión (100 % es el tamaño estándar, con 0,33 mm como barra más estrecha) y la resolución de su impresora (300 ppp sirve para la mayoría de las impresoras de oficina).</translation>
    </message>
    <message>
        <source>&lt;b&gt;Barcode type.&lt;/b&gt; EAN-13 is the usual code on products sold in shops; EAN-8 is the short version for small packages. UPC-A is the product code of the United States and Canada, UPC-E its short version. ISBN-10 and ISBN-13 are for books (both print as the 13-digit book code), ISSN for magazines and newspapers, ISMN for printed music.</source>
        <translation>&lt;b&gt;Tipo de código.&lt;/b&gt; EAN-13 es el código habitual de los productos que se venden en tiendas; EAN-8 es la versión corta para envases pequeños. UPC-A es el código de productos de Estados Unidos y Canadá, UPC-E su versión corta. ISBN-10 e ISBN-13 son para libros (ambos se imprimen como el código de libro de 13 dígitos), ISSN para revistas y periódicos, ISMN para música impresa.</translation>
    </message>
    <message>
        <source>EAN-13: 12 digits, EAN-8: 7 digits, UPC-A: 11 digits. The last digit, the check digit, is worked out for you; if you type it too, it is replaced.</source>
        <translation>EAN-13: 12 dígitos, EAN-8: 7 dígitos, UPC-A: 11 dígitos. El último dígito, el dígito de control, se calcula por usted; si también lo escribe, se reemplaza.</translation>
    </message>
    <message>
        <source>UPC-E: the 6 digits under the bars, for example 123456, or with the number system 0 in front and the check digit behind. A full UPC-A of 11 or 12 digits is shortened when its zeros allow it; otherwise you are told why not.</source>
        <translation>UPC-E: los 6 dígitos bajo las barras, por ejemplo 123456, o con el sistema de numeración 0 delante y el dígito de control detrás. Un UPC-A completo de 11 o 12 dígitos se acorta cuando sus ceros lo permiten; si no, se le dice por qué.</translation>
    </message>
    <message>
        <source>ISSN: the magazine number, with or without its hyphen, for example 0317-8471. The &lt;b&gt;variant&lt;/b&gt; field takes the 2-digit sequence variant, 00 unless your publisher says otherwise.</source>
        <translation>ISSN: el número de la revista, con o sin guion, por ejemplo 0317-8471. El campo &lt;b&gt;variante&lt;/b&gt; recibe la variante de secuencia de 2 dígitos, 00 salvo que su editorial indique otra.</translation>
    </message>
    <message>
        <source>ISMN: the music number, 979-0-2600-0043-8, or in the older form M-2600-0043-8, which is printed as 979-0-2600-0043-8.</source>
        <translation>ISMN: el número de la partitura, 979-0-2600-0043-8, o en la forma antigua M-2600-0043-8, que se imprime como 979-0-2600-0043-8.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Add-on and price.&lt;/b&gt; The add-on is a small second barcode. Books take exactly 5 digits, often the price code (for example 51299 for US$ 12.99); UPC-A, UPC-E, ISSN and ISMN take 2 digits (a magazine&apos;s issue number, for example 03) or 5. The price text is printed above the add-on of books and printed music as you type it. All may stay empty.</source>
        <translation>&lt;b&gt;Complemento y precio.&lt;/b&gt; El complemento es un pequeño segundo código de barras. Los libros llevan exactamente 5 dígitos, a menudo el código de precio (por ejemplo 51299 para 12,99 US$); UPC-A, UPC-E, ISSN e ISMN llevan 2 dígitos (el número de una revista, por ejemplo 03) o 5. El texto del precio se imprime tal como lo escribe sobre el complemento de libros y música impresa. Todo puede quedar vacío.</translation>
    </message>
    <message>
        <source>&lt;b&gt;2D codes.&lt;/b&gt; Shops are moving to 2D codes by 2027. Choose GS1 QR Code (a GS1 Digital Link, read by phones and tills) or GS1 DataMatrix as the barcode type and type the GTIN or the book number; or keep your EAN, UPC, ISBN, ISSN or ISMN and choose a 2D companion to print both side by side. GS1 elements adds data after the GTIN as (AI)value, for example (10)ABC123(17)271231 for a batch and an expiry date. For a 2D type, type the module into the print size, for example 0.5 mm (0.396 to 0.990 mm).</source>
        <translation>&lt;b&gt;Códigos 2D.&lt;/b&gt; El comercio pasa a los códigos 2D hasta 2027. Elija GS1 QR Code (un GS1 Digital Link, leído por teléfonos y cajas) o GS1 DataMatrix como tipo de código y escriba el GTIN o el número del libro; o mantenga su EAN, UPC, ISBN, ISSN o ISMN y elija un código 2D adjunto para imprimir ambos uno al lado del otro. Elementos GS1 añade datos tras el GTIN como (AI)valor, por ejemplo (10)ABC123(17)271231 para un lote y una fecha de caducidad. Para un tipo 2D, escriba el módulo en el tamaño de impresión, por ejemplo 0.5 mm (0,396 a 0,990 mm).</translation>
    </message>
</context>
<context>
    <name>Info.ini</name>
    <message>
        <source>The barcode was saved.</source>
        <translation>El código de barras se ha guardado.</translation>
    </message>
    <message>
        <source>The barcode could not be saved. Check the data and the folder, and try again.</source>
        <translation>No se pudo guardar el código de barras. Compruebe los datos y la carpeta e inténtelo de nuevo.</translation>
    </message>
    <message>
        <source>EAN-13 needs 12 digits, EAN-8 7, UPC-A 11, UPC-E 6; the check digit is added for you.
ISBN, ISSN, ISMN: the number, with or without hyphens; an ISSN variant: 2 digits.
Add-on: 5 digits for books; 2 or 5 for UPC, ISSN and ISMN.</source>
        <translation>EAN-13 necesita 12 dígitos, EAN-8 7, UPC-A 11, UPC-E 6; el dígito de control se añade por usted.
ISBN, ISSN, ISMN: el número, con o sin guiones; una variante ISSN: 2 dígitos.
Complemento: 5 dígitos para libros; 2 o 5 para UPC, ISSN e ISMN.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Barcode preview</source>
        <translation>Vista previa del código de barras</translation>
    </message>
    <message>
        <source>The barcode as it will be saved, copied or printed. Ctrl+C copies it; drag it into another program or a folder.</source>
        <translation>El código de barras tal como se guardará, copiará o imprimirá. Ctrl+C lo copia; arrástrelo a otro programa o a una carpeta.</translation>
    </message>
    <message>
        <source>Barcode</source>
        <translation>Código de barras</translation>
    </message>
    <message>
        <source>Barcode &amp;type:</source>
        <translation>&amp;Tipo de código:</translation>
    </message>
    <message>
        <source>Barcode type</source>
        <translation>Tipo de código</translation>
    </message>
    <message>
        <source>EAN-8 (small products)</source>
        <translation>EAN-8 (productos pequeños)</translation>
    </message>
    <message>
        <source>EAN-13 (products)</source>
        <translation>EAN-13 (productos)</translation>
    </message>
    <message>
        <source>ISBN-10 (books)</source>
        <translation>ISBN-10 (libros)</translation>
    </message>
    <message>
        <source>ISBN-13 (books)</source>
        <translation>ISBN-13 (libros)</translation>
    </message>
    <message>
        <source>&amp;Number:</source>
        <translation>&amp;Número:</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Número</translation>
    </message>
    <message>
        <source>The product or book number to encode; the check digit is added for you.</source>
        <translation>El número del producto o del libro que se codifica; el dígito de control se añade por usted.</translation>
    </message>
    <message>
        <source>the product or book number</source>
        <translation>el número del producto o del libro</translation>
    </message>
    <message>
        <source>&amp;Add-on:</source>
        <translation>&amp;Complemento:</translation>
    </message>
    <message>
        <source>Add-on</source>
        <translation>Complemento</translation>
    </message>
    <message>
        <source>&amp;Price text:</source>
        <translation>Texto del &amp;precio:</translation>
    </message>
    <message>
        <source>Price text</source>
        <translation>Texto del precio</translation>
    </message>
    <message>
        <source>Save to file</source>
        <translation>Guardar en archivo</translation>
    </message>
    <message>
        <source>File f&amp;ormat:</source>
        <translation>&amp;Formato de archivo:</translation>
    </message>
    <message>
        <source>File format</source>
        <translation>Formato de archivo</translation>
    </message>
    <message>
        <source>EPS for print, or a PNG, TIFF or JPEG image.</source>
        <translation>EPS para imprenta, o una imagen PNG, TIFF o JPEG.</translation>
    </message>
    <message>
        <source>EPS (vector, for print)</source>
        <translation>EPS (vectorial, para imprenta)</translation>
    </message>
    <message>
        <source>PNG image</source>
        <translation>Imagen PNG</translation>
    </message>
    <message>
        <source>TIFF image</source>
        <translation>Imagen TIFF</translation>
    </message>
    <message>
        <source>JPEG image</source>
        <translation>Imagen JPEG</translation>
    </message>
    <message>
        <source>Print si&amp;ze:</source>
        <translation>Ta&amp;maño de impresión:</translation>
    </message>
    <message>
        <source>Print size</source>
        <translation>Tamaño de impresión</translation>
    </message>
    <message>
        <source>The size against the standard, with the width of the thinnest bar; also the size the barcode prints at.</source>
        <translation>El tamaño respecto al estándar, con el ancho de la barra más estrecha; también el tamaño con el que se imprime el código de barras.</translation>
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
        <translation>100 % estándar (0,33 mm)</translation>
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
        <translation>&amp;Resolución:</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>Resolución</translation>
    </message>
    <message>
        <source>The dots per inch of an image file.</source>
        <translation>Los puntos por pulgada de un archivo de imagen.</translation>
    </message>
    <message>
        <source>For PNG, TIFF and JPEG: the dots per inch of the printer the image is for.</source>
        <translation>Para PNG, TIFF y JPEG: los puntos por pulgada de la impresora a la que se destina la imagen.</translation>
    </message>
    <message>
        <source>72 dpi (screen)</source>
        <translation>72 ppp (pantalla)</translation>
    </message>
    <message>
        <source>100 dpi</source>
        <translation>100 ppp</translation>
    </message>
    <message>
        <source>300 dpi (most printers)</source>
        <translation>300 ppp (la mayoría de las impresoras)</translation>
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
        <translation>Guardar código de barras</translation>
    </message>
    <message>
        <source>Asks for a file name and saves the barcode in the chosen format.</source>
        <translation>Pide un nombre de archivo y guarda el código de barras en el formato elegido.</translation>
    </message>
    <message>
        <source>&amp;Save Barcode…</source>
        <translation>&amp;Guardar código de barras…</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Editar</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ay&amp;uda</translation>
    </message>
    <message>
        <source>&amp;Print…</source>
        <translation>&amp;Imprimir…</translation>
    </message>
    <message>
        <source>Print the barcode at its exact size, in the middle of the page</source>
        <translation>Imprimir el código de barras a su tamaño exacto, en el centro de la página</translation>
    </message>
    <message>
        <source>&amp;Copy Barcode</source>
        <translation>&amp;Copiar código de barras</translation>
    </message>
    <message>
        <source>Copy the barcode as a 300 dpi image at its standard size</source>
        <translation>Copiar el código de barras como imagen de 300 ppp en tamaño estándar</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>Strimlo &amp;Help</source>
        <translation>&amp;Ayuda de Strimlo</translation>
    </message>
    <message>
        <source>&amp;About Strimlo</source>
        <translation>Acerca &amp;de Strimlo</translation>
    </message>
    <message>
        <source>EPS keeps the barcode sharp at any size; PDF (black on the K plate only, for print) and SVG are sharp at the chosen print size; PNG, TIFF and JPEG are images of the chosen print size and resolution.</source>
        <translation>EPS mantiene el código de barras nítido a cualquier tamaño; PDF (negro solo en la plancha de negro, para imprenta) y SVG son nítidos al tamaño de impresión elegido; PNG, TIFF y JPEG son imágenes del tamaño de impresión y la resolución elegidos.</translation>
    </message>
    <message>
        <source>PDF (vector, for print)</source>
        <translation>PDF (vectorial, para imprenta)</translation>
    </message>
    <message>
        <source>SVG (vector, for web and layout)</source>
        <translation>SVG (vectorial, para web y maquetación)</translation>
    </message>
    <message>
        <source>For PDF, SVG, PNG, TIFF and JPEG: the size against the standard (100%), with the width of the thinnest bar in millimetres. An EPS file is always drawn at one fixed size: a 0.296 mm bar, 89.6% of the standard.</source>
        <translation>Para PDF, SVG, PNG, TIFF y JPEG: el tamaño respecto al estándar (100 %), con el ancho de la barra más fina en milímetros. Un archivo EPS siempre tiene un tamaño fijo: una barra de 0,296 mm, el 89,6 % del estándar.</translation>
    </message>
    <message>
        <source>Prepress</source>
        <translation>Preimpresión</translation>
    </message>
    <message>
        <source>Quiet zones</source>
        <translation>Zonas de silencio</translation>
    </message>
    <message>
        <source>Widens the file to the white margins scanners need and marks their edges with &gt; (and &lt; for EAN-8).</source>
        <translation>Amplía el archivo hasta los márgenes blancos que necesitan los lectores y marca sus bordes con &gt; (y &lt; en EAN-8).</translation>
    </message>
    <message>
        <source>&amp;Quiet zones with &gt; marks</source>
        <translation>&amp;Zonas de silencio con marcas &gt;</translation>
    </message>
    <message>
        <source>Widens the file to the minimum white margins scanners need (EAN-13: 11 bar widths left, 7 right) and marks their edge with &gt; (and &lt; for EAN-8), so the symbol can be placed edge to edge with other artwork.</source>
        <translation>Amplía el archivo hasta los márgenes blancos mínimos que necesitan los lectores (EAN-13: 11 módulos a la izquierda, 7 a la derecha) y marca su borde con &gt; (y &lt; en EAN-8), para que el símbolo pueda colocarse borde con borde con otros elementos.</translation>
    </message>
    <message>
        <source>&amp;Bar width reduction:</source>
        <translation>Reducción del ancho de &amp;barra:</translation>
    </message>
    <message>
        <source>Bar width reduction</source>
        <translation>Reducción del ancho de barra</translation>
    </message>
    <message>
        <source>Micrometres taken off every bar, its centre kept, against ink spread on press; 0 for none.</source>
        <translation>Micrómetros que se quitan a cada barra, manteniendo su centro, contra la ganancia de tinta en la impresión; 0 para ninguna.</translation>
    </message>
    <message>
        <source> µm</source>
        <translation> µm</translation>
    </message>
    <message>
        <source>Makes every bar this much narrower, keeping its centre, to make up for ink spreading on press: about 10 µm for offset at 2540 dpi, 20 µm for 1200 dpi lasers, 40 µm for 600 dpi. Images take it to the nearest whole pixel. The preview does not show it.</source>
        <translation>Estrecha cada barra esa cantidad, manteniendo su centro, para compensar la ganancia de tinta en la impresión: unos 10 µm en offset a 2540 ppp, 20 µm en impresoras láser de 1200 ppp, 40 µm a 600 ppp. Las imágenes lo redondean al píxel entero. La vista previa no lo muestra.</translation>
    </message>
    <message>
        <source>Transparent background</source>
        <translation>Fondo transparente</translation>
    </message>
    <message>
        <source>PNG files without a background; not for TIFF and JPEG, which are opaque CMYK.</source>
        <translation>Archivos PNG sin fondo; no para TIFF y JPEG, que son CMYK opaco.</translation>
    </message>
    <message>
        <source>Transparent bac&amp;kground</source>
        <translation>F&amp;ondo transparente</translation>
    </message>
    <message>
        <source>PNG: only the bars and digits are opaque. EPS never paints a background. TIFF and JPEG are opaque CMYK images.</source>
        <translation>PNG: solo las barras y los dígitos son opacos. EPS nunca pinta un fondo. TIFF y JPEG son imágenes CMYK opacas.</translation>
    </message>
    <message>
        <source>T&amp;ypeface:</source>
        <translation>Tipo de &amp;letra:</translation>
    </message>
    <message>
        <source>Typeface</source>
        <translation>Tipo de letra</translation>
    </message>
    <message>
        <source>The face of the digits and the lines above the bars.</source>
        <translation>La letra de los dígitos y de las líneas sobre las barras.</translation>
    </message>
    <message>
        <source>Helvetica, or OCR-B as GS1 recommends for the digits. EPS, PDF and SVG files carry OCR-B as outlines.</source>
        <translation>Helvetica, u OCR-B como recomienda GS1 para los dígitos. Los archivos EPS, PDF y SVG llevan OCR-B como contornos.</translation>
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
        <translation>Texto como contornos</translation>
    </message>
    <message>
        <source>EPS and PDF files draw every text as filled outlines and need no font.</source>
        <translation>Los archivos EPS y PDF dibujan cada texto como contornos rellenos y no necesitan ninguna fuente.</translation>
    </message>
    <message>
        <source>Text as o&amp;utlines</source>
        <translation>Te&amp;xto como contornos</translation>
    </message>
    <message>
        <source>EPS and PDF: every text as filled outlines, so that a print shop needs no font. SVG files always have outlines; images are unchanged.</source>
        <translation>EPS y PDF: cada texto como contornos rellenos, para que la imprenta no necesite ninguna fuente. Los archivos SVG siempre tienen contornos; las imágenes no cambian.</translation>
    </message>
    <message>
        <source>EAN-8 or EAN-13 for products, UPC-A or UPC-E for US and Canadian products, ISBN-10 or ISBN-13 for books, ISSN for magazines, ISMN for printed music.</source>
        <translation>EAN-8 o EAN-13 para productos, UPC-A o UPC-E para productos de Estados Unidos y Canadá, ISBN-10 o ISBN-13 para libros, ISSN para revistas, ISMN para música impresa.</translation>
    </message>
    <message>
        <source>EAN-13 and EAN-8 are the codes on products in shops, UPC-A and UPC-E their US and Canadian forms; ISBN-10 and ISBN-13 are for books, ISSN for magazines, ISMN for printed music.</source>
        <translation>EAN-13 y EAN-8 son los códigos de los productos en tiendas, UPC-A y UPC-E sus formas en Estados Unidos y Canadá; ISBN-10 e ISBN-13 son para libros, ISSN para revistas, ISMN para música impresa.</translation>
    </message>
    <message>
        <source>UPC-A (US and Canada products)</source>
        <translation>UPC-A (productos de EE. UU. y Canadá)</translation>
    </message>
    <message>
        <source>UPC-E (small US products)</source>
        <translation>UPC-E (productos pequeños de EE. UU.)</translation>
    </message>
    <message>
        <source>ISSN (magazines)</source>
        <translation>ISSN (revistas)</translation>
    </message>
    <message>
        <source>ISMN (printed music)</source>
        <translation>ISMN (música impresa)</translation>
    </message>
    <message>
        <source>GS1 QR Code (Digital Link)</source>
        <translation>GS1 QR Code (Digital Link)</translation>
    </message>
    <message>
        <source>GS1 DataMatrix (element string)</source>
        <translation>GS1 DataMatrix (cadena de elementos)</translation>
    </message>
    <message>
        <source>EAN-13: 12 digits, EAN-8: 7 digits, UPC-A: 11 digits, UPC-E: 6 digits (the check digit is added for you). ISBN, ISSN, ISMN: the number, with or without hyphens.</source>
        <translation>EAN-13: 12 dígitos, EAN-8: 7 dígitos, UPC-A: 11 dígitos, UPC-E: 6 dígitos (el dígito de control se añade por usted). ISBN, ISSN, ISMN: el número, con o sin guiones.</translation>
    </message>
    <message>
        <source>Optional: a 5-digit add-on for books, often the price code; 2 or 5 digits for UPC, ISSN and ISMN.</source>
        <translation>Opcional: un complemento de 5 dígitos para libros, a menudo el código de precio; 2 o 5 dígitos para UPC, ISSN e ISMN.</translation>
    </message>
    <message>
        <source>optional: 5 digits for books; 2 or 5 for UPC, ISSN, ISMN</source>
        <translation>opcional: 5 dígitos para libros; 2 o 5 para UPC, ISSN, ISMN</translation>
    </message>
    <message>
        <source>A small second barcode beside the main one: 5 digits for a book, often the price code (e.g. 51299 for US$ 12.99); 2 or 5 digits for UPC, ISSN and ISMN (a magazine&apos;s issue number, e.g. 03).</source>
        <translation>Un pequeño segundo código de barras junto al principal: 5 dígitos para un libro, a menudo el código de precio (p. ej. 51299 para 12,99 US$); 2 o 5 dígitos para UPC, ISSN e ISMN (el número de una revista, p. ej. 03).</translation>
    </message>
    <message>
        <source>Books and printed music only, optional: the text printed above the add-on.</source>
        <translation>Solo libros y música impresa, opcional: el texto impreso sobre el complemento.</translation>
    </message>
    <message>
        <source>books and music only, optional: e.g. USD 12.99</source>
        <translation>solo libros y música, opcional: p. ej. USD 12.99</translation>
    </message>
    <message>
        <source>Printed as typed above the add-on of a book&apos;s or printed music&apos;s code.</source>
        <translation>Se imprime tal como se escribe sobre el complemento del código de un libro o de una partitura.</translation>
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
        <translation>Solo ISSN, opcional: la variante de secuencia de 2 dígitos, 00 si está vacía.</translation>
    </message>
    <message>
        <source>ISSN only, optional: 2 digits (00 if empty)</source>
        <translation>solo ISSN, opcional: 2 dígitos (00 si está vacío)</translation>
    </message>
    <message>
        <source>The ISSN&apos;s 2-digit sequence variant, encoded in the main barcode: 00 for most magazines; dailies put a price code and the weekday here.</source>
        <translation>La variante de secuencia de 2 dígitos del ISSN, codificada en el código de barras principal: 00 para la mayoría de las revistas; los diarios ponen aquí un código de precio y el día de la semana.</translation>
    </message>
    <message>
        <source>Scan grade</source>
        <translation>Calidad de lectura</translation>
    </message>
    <message>
        <source>Price co&amp;de:</source>
        <translation>Có&amp;digo de precio:</translation>
    </message>
    <message>
        <source>Price code currency</source>
        <translation>Moneda del código de precio</translation>
    </message>
    <message>
        <source>Books and printed music only: the currency of the price the add-on and the price text are made from.</source>
        <translation>Solo libros y música impresa: la moneda del precio del que salen el complemento y el texto del precio.</translation>
    </message>
    <message>
        <source>Price code amount</source>
        <translation>Importe del código de precio</translation>
    </message>
    <message>
        <source>Books and printed music only: the price, at most two decimals; fills the add-on and the price text.</source>
        <translation>Solo libros y música impresa: el precio, con dos decimales como máximo; rellena el complemento y el texto del precio.</translation>
    </message>
    <message>
        <source>e.g. 19.99</source>
        <translation>p.&#xa0;ej. 19.99</translation>
    </message>
    <message>
        <source>ISBN &amp;Range File…</source>
        <translation>Archivo de &amp;rangos ISBN…</translation>
    </message>
    <message>
        <source>2D co&amp;mpanion:</source>
        <translation>Código 2D ad&amp;junto:</translation>
    </message>
    <message>
        <source>2D companion</source>
        <translation>Código 2D adjunto</translation>
    </message>
    <message>
        <source>EAN, UPC, ISBN, ISSN and ISMN: a 2D code of the same GTIN beside the barcode, for packs marked with both.</source>
        <translation>EAN, UPC, ISBN, ISSN e ISMN: un código 2D del mismo GTIN junto al código de barras, para envases marcados con ambos.</translation>
    </message>
    <message>
        <source>Retail is moving to 2D codes by 2027: a QR Code with a GS1 Digital Link for phones and tills, or a GS1 DataMatrix for regulated goods, printed beside the barcode.</source>
        <translation>El comercio pasa a los códigos 2D hasta 2027: un código QR con un GS1 Digital Link para teléfonos y cajas, o un GS1 DataMatrix para productos regulados, impreso junto al código de barras.</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Ninguno</translation>
    </message>
    <message>
        <source>QR Code (GS1 Digital Link)</source>
        <translation>Código QR (GS1 Digital Link)</translation>
    </message>
    <message>
        <source>GS1 DataMatrix</source>
        <translation>GS1 DataMatrix</translation>
    </message>
    <message>
        <source>GS1 e&amp;lements:</source>
        <translation>Elementos GS&amp;1:</translation>
    </message>
    <message>
        <source>GS1 elements</source>
        <translation>Elementos GS1</translation>
    </message>
    <message>
        <source>2D codes only, optional: data after the GTIN as (AI)value, e.g. a batch and an expiry date.</source>
        <translation>Solo códigos 2D, opcional: datos tras el GTIN como (AI)valor, p. ej. un lote y una fecha de caducidad.</translation>
    </message>
    <message>
        <source>2D only, optional: e.g. (10)ABC123(17)271231</source>
        <translation>solo 2D, opcional: p. ej. (10)ABC123(17)271231</translation>
    </message>
    <message>
        <source>(10) batch or lot, (11) production date, (15) best before, (17) expiry (YYMMDD), (21) serial number, (22) consumer variant, (3100)–(3105) net weight in kg, (3920)–(3923) price.</source>
        <translation>(10) lote, (11) fecha de producción, (15) consumo preferente, (17) caducidad (AAMMDD), (21) número de serie, (22) variante de consumo, (3100)–(3105) peso neto en kg, (3920)–(3923) precio.</translation>
    </message>
    <message>
        <source>Di&amp;gital Link domain:</source>
        <translation>Dominio de Digital Lin&amp;k:</translation>
    </message>
    <message>
        <source>Digital Link domain</source>
        <translation>Dominio de Digital Link</translation>
    </message>
    <message>
        <source>QR Codes only, optional: the web address a phone opens, your brand&apos;s own resolver instead of GS1&apos;s.</source>
        <translation>Solo códigos QR, opcional: la dirección web que abre un teléfono, el resolutor propio de su marca en lugar del de GS1.</translation>
    </message>
    <message>
        <source>QR Code only, optional: https://id.gs1.org or your own</source>
        <translation>solo código QR, opcional: https://id.gs1.org o la suya</translation>
    </message>
    <message>
        <source>The QR Code holds this address followed by /01/ and the GTIN, e.g. https://brand.example/01/09780306406157. Empty: GS1&apos;s resolver, https://id.gs1.org. https only; kept for the next start.</source>
        <translation>El código QR contiene esta dirección seguida de /01/ y el GTIN, p. ej. https://brand.example/01/09780306406157. Vacío: el resolutor de GS1, https://id.gs1.org. Solo https; se conserva para el próximo inicio.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>The check digit %1 is wrong: the bars and digits use %2.</source>
        <translation>El dígito de control %1 es incorrecto: las barras y los dígitos usan %2.</translation>
    </message>
    <message>
        <source>The check character %1 is wrong (%2 is right): the line above the bars shows %2.</source>
        <translation>El carácter de control %1 es incorrecto (el correcto es %2): la línea sobre las barras muestra %2.</translation>
    </message>
    <message>
        <source>No ISBN range file: the line shows the ISBN as typed. Choose the agency&apos;s RangeMessage.xml under File to hyphenate it.</source>
        <translation>No hay archivo de rangos ISBN: la línea muestra el ISBN tal como se escribió. Elija el RangeMessage.xml de la agencia en Archivo para separarlo con guiones.</translation>
    </message>
    <message>
        <source>The range file could not be copied.</source>
        <translation>No se pudo copiar el archivo de rangos.</translation>
    </message>
</context>
</TS>
