<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="es">
<context>
    <name>AcercaDe</name>
    <message>
        <source>Acerca de tr4visor</source>
        <translation>About tr4visor</translation>
    </message>
    <message>
        <source>&lt;h3&gt;tr4visor %1&lt;/h3&gt;&lt;p&gt;Visor de niveles de Tomb Raider 4 (archivos &lt;tt&gt;.tr4&lt;/tt&gt;): muestra cada mesh, cada objeto armado (movibles y estáticos) y el nivel entero con sus cuartos, estáticos e items, para recorrerlo con la cámara; con textura o en alambre. Enseña las páginas de textura y exporta lo que se muestra a glTF 2.0, para Blender y otros programas.&lt;/p&gt;&lt;p&gt;Su compañero de línea de órdenes, &lt;tt&gt;tr4tool&lt;/tt&gt;, resume un nivel, lo dibuja en PNG y lo exporta sin ventana.&lt;/p&gt;&lt;p&gt;Licencia MIT.&lt;/p&gt;&lt;p&gt;Hecho con Qt %2.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;tr4visor %1&lt;/h3&gt;&lt;p&gt;Viewer of Tomb Raider 4 levels (&lt;tt&gt;.tr4&lt;/tt&gt; files): shows each mesh, each object assembled (moveables and statics) and the whole level with its rooms, statics and items, to be flown through with the camera; textured or as wireframe. It shows the texture pages and exports what is on show to glTF 2.0, for Blender and other programs.&lt;/p&gt;&lt;p&gt;Its command-line companion, &lt;tt&gt;tr4tool&lt;/tt&gt;, summarises a level, draws it to PNG and exports it without a window.&lt;/p&gt;&lt;p&gt;MIT licence.&lt;/p&gt;&lt;p&gt;Built with Qt %2.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>AnimarNivel</name>
    <message>
        <source>Animar</source>
        <translation>Animate</translation>
    </message>
</context>
<context>
    <name>AperturaNivel</name>
    <message>
        <source>no hay memoria suficiente para abrirlo</source>
        <translation>there is not enough memory to open it</translation>
    </message>
    <message>
        <source>no se pudo leer</source>
        <translation>it could not be read</translation>
    </message>
    <message>
        <source>No se pudo abrir el nivel &quot;%1&quot;:
%2.</source>
        <translation>Could not open the level &quot;%1&quot;:
%2.</translation>
    </message>
    <message>
        <source>El nivel &quot;%1&quot; se abrió, pero OpenGL no aceptó todas sus páginas o meshes: el panel puede mostrarlo incompleto.</source>
        <translation>The level &quot;%1&quot; was opened, but OpenGL did not accept all of its pages or meshes: the panel may show it incomplete.</translation>
    </message>
    <message>
        <source>Meshes: %1</source>
        <translation>Meshes: %1</translation>
    </message>
    <message>
        <source>Objeto:%1</source>
        <translation>Object:%1</translation>
    </message>
    <message>
        <source>%1 — %2</source>
        <translation>%1 — %2</translation>
    </message>
</context>
<context>
    <name>Aplicacion</name>
    <message>
        <source>No queda memoria para continuar.</source>
        <translation>Out of memory; cannot go on.</translation>
    </message>
    <message>
        <source>Error inesperado: %1</source>
        <translation>Unexpected error: %1</translation>
    </message>
    <message>
        <source>Error inesperado.</source>
        <translation>Unexpected error.</translation>
    </message>
</context>
<context>
    <name>ArbolObjetos</name>
    <message>
        <source>Objetos</source>
        <translation>Objects</translation>
    </message>
    <message>
        <source>Animaciones (%1)</source>
        <translation>Animations (%1)</translation>
    </message>
    <message>
        <source>%1 · %2 claves · %3 cuadros · %4 s · estado %5</source>
        <translation>%1 · %2 keys · %3 frames · %4 s · state %5</translation>
    </message>
    <message>
        <source>%1 · no se puede ver</source>
        <translation>%1 · cannot be played</translation>
    </message>
    <message>
        <source>
Se repite: %1</source>
        <translation>
Loops: %1</translation>
    </message>
    <message>
        <source>Nivel</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>Cuartos (%1)</source>
        <translation>Rooms (%1)</translation>
    </message>
    <message>
        <source>Cuarto %1</source>
        <translation>Room %1</translation>
    </message>
    <message>
        <source>Lara</source>
        <translation>Lara</translation>
    </message>
    <message>
        <source>Las animaciones del movible %1 con las meshes del movible %2</source>
        <translation>Moveable %1&apos;s animations on moveable %2&apos;s meshes</translation>
    </message>
    <message>
        <source>Movibles (%1)</source>
        <translation>Moveables (%1)</translation>
    </message>
    <message>
        <source>Estáticos (%1)</source>
        <translation>Statics (%1)</translation>
    </message>
    <message>
        <source>Movible %1 · 1 mesh</source>
        <translation>Moveable %1 · 1 mesh</translation>
    </message>
    <message>
        <source>Movible %1 · %2 meshes</source>
        <translation>Moveable %1 · %2 meshes</translation>
    </message>
    <message>
        <source>Movible %1, mesh %2 de %3</source>
        <translation>Moveable %1, mesh %2 of %3</translation>
    </message>
    <message>
        <source>Estático %1</source>
        <translation>Static %1</translation>
    </message>
</context>
<context>
    <name>BarraAnimacion</name>
    <message>
        <source>Pausa</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Reproducir o pausar la animación</source>
        <translation>Play or pause the animation</translation>
    </message>
    <message>
        <source>Un cuadro atrás</source>
        <translation>One frame back</translation>
    </message>
    <message>
        <source>Un cuadro adelante</source>
        <translation>One frame forward</translation>
    </message>
    <message>
        <source>Línea de tiempo: arrastre para ir a un cuadro</source>
        <translation>Timeline: drag to go to a frame</translation>
    </message>
    <message>
        <source>Velocidad</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>en bucle</source>
        <translation>looped</translation>
    </message>
    <message>
        <source>seguir a la siguiente</source>
        <translation>go on to the next</translation>
    </message>
    <message>
        <source>Al acabar: repetirla, o seguir a su siguiente animación y cuadro como hace el juego</source>
        <translation>When it ends: play it again, or go on to its next animation and frame as the game does</translation>
    </message>
    <message>
        <source>Las meshes que lleva el movible: las suyas o las de otro con tantas como él</source>
        <translation>The meshes the moveable wears: its own or those of another with as many</translation>
    </message>
    <message>
        <source>Meshes de: las suyas</source>
        <translation>Meshes of: its own</translation>
    </message>
    <message>
        <source>Meshes de: movible %1</source>
        <translation>Meshes of: moveable %1</translation>
    </message>
    <message>
        <source>Reproducir</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>reposo</source>
        <translation>rest</translation>
    </message>
</context>
<context>
    <name>BarraEstado</name>
    <message>
        <source>ninguna</source>
        <translation>none</translation>
    </message>
    <message>
        <source>Mesh %1: %2 vértices, %3 rectángulos, %4 triángulos, %5 con textura, radio %6, páginas %7</source>
        <translation>Mesh %1: %2 vertices, %3 rectangles, %4 triangles, %5 textured, radius %6, pages %7</translation>
    </message>
    <message>
        <source>; la usan los objetos %1</source>
        <translation>; used by objects %1</translation>
    </message>
    <message>
        <source>%1, Tomb Raider %2, %3 KiB</source>
        <translation>%1, Tomb Raider %2, %3 KiB</translation>
    </message>
    <message>
        <source>%1 cuadros/s</source>
        <translation>%1 frames/s</translation>
    </message>
    <message>
        <source>Movible %1</source>
        <translation>Moveable %1</translation>
    </message>
    <message>
        <source>Estático %1</source>
        <translation>Static %1</translation>
    </message>
    <message>
        <source>%1: %2 meshes, %3 caras, %4 con textura, radio %5, páginas %6</source>
        <translation>%1: %2 meshes, %3 faces, %4 textured, radius %5, pages %6</translation>
    </message>
    <message>
        <source>Nivel: %1 cuartos, %2 vértices, %3 rectángulos, %4 triángulos</source>
        <translation>Level: %1 rooms, %2 vertices, %3 rectangles, %4 triangles</translation>
    </message>
    <message>
        <source>estáticos: %1 colocados, %2 omitidos</source>
        <translation>statics: %1 placed, %2 skipped</translation>
    </message>
    <message>
        <source>estáticos ocultos</source>
        <translation>statics hidden</translation>
    </message>
    <message>
        <source>items: %1 colocados, %2 omitidos</source>
        <translation>items: %1 placed, %2 skipped</translation>
    </message>
    <message>
        <source>items ocultos</source>
        <translation>items hidden</translation>
    </message>
    <message>
        <source>salas alternas</source>
        <translation>alternate rooms</translation>
    </message>
    <message>
        <source>salas alternas del grupo %1</source>
        <translation>alternate rooms of group %1</translation>
    </message>
    <message>
        <source>agua teñida</source>
        <translation>water tinted</translation>
    </message>
    <message>
        <source>cuarto %1</source>
        <translation>room %1</translation>
    </message>
</context>
<context>
    <name>BucleDibujo</name>
    <message>
        <source>el dispositivo de dibujo no se pudo crear (hace falta OpenGL 3.3)</source>
        <translation>the drawing device could not be created (OpenGL 3.3 is needed)</translation>
    </message>
    <message>
        <source>No se puede dibujar: %1.
Los niveles se abren y se listan, pero el panel no mostrará nada.</source>
        <translation>Cannot draw: %1.
Levels open and are listed, but the panel will show nothing.</translation>
    </message>
</context>
<context>
    <name>ClicEnPanel</name>
    <message>
        <source>Movible %1</source>
        <translation>Moveable %1</translation>
    </message>
    <message>
        <source>Estático %1</source>
        <translation>Static %1</translation>
    </message>
</context>
<context>
    <name>DisposicionCliente</name>
    <message>
        <source>Panel1</source>
        <translation>Panel1</translation>
    </message>
    <message>
        <source>Meshes</source>
        <translation>Meshes</translation>
    </message>
    <message>
        <source>Render Mode</source>
        <translation>Render Mode</translation>
    </message>
    <message>
        <source>Texturizado</source>
        <translation>Textured</translation>
    </message>
    <message>
        <source>Wireframe</source>
        <translation>Wireframe</translation>
    </message>
</context>
<context>
    <name>ExportacionVista</name>
    <message>
        <source>no hay memoria suficiente</source>
        <translation>there is not enough memory</translation>
    </message>
    <message>
        <source>No se pudo exportar a &quot;%1&quot;:
%2.</source>
        <translation>Could not export to &quot;%1&quot;:
%2.</translation>
    </message>
    <message>
        <source>Exportado %1 en %2 (%3 archivos en total)</source>
        <translation>Exported %1 to %2 (%3 files in all)</translation>
    </message>
    <message>
        <source>Exportado %1 en %2</source>
        <translation>Exported %1 to %2</translation>
    </message>
</context>
<context>
    <name>MenuApariencia</name>
    <message>
        <source>Iluminación</source>
        <translation>Lighting</translation>
    </message>
    <message>
        <source>Colores de los vértices</source>
        <translation>Vertex colours</translation>
    </message>
    <message>
        <source>Luz plena</source>
        <translation>Full light</translation>
    </message>
    <message>
        <source>Fondo</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>Negro</source>
        <translation>Black</translation>
    </message>
    <message>
        <source>Gris</source>
        <translation>Grey</translation>
    </message>
    <message>
        <source>Blanco</source>
        <translation>White</translation>
    </message>
</context>
<context>
    <name>MenuVer</name>
    <message>
        <source>Marcadores</source>
        <translation>Markers</translation>
    </message>
    <message>
        <source>Disparadores</source>
        <translation>Triggers</translation>
    </message>
    <message>
        <source>Ver</source>
        <translation>View</translation>
    </message>
    <message>
        <source>Sonido</source>
        <translation>Sound</translation>
    </message>
    <message>
        <source>Sonidos</source>
        <translation>Sounds</translation>
    </message>
    <message>
        <source>Ajustar a la vista	F</source>
        <translation>Frame to fit	F</translation>
    </message>
    <message>
        <source>Pausar el giro	Espacio</source>
        <translation>Pause the turn	Space</translation>
    </message>
    <message>
        <source>Vista inicial	Inicio</source>
        <translation>First view	Home</translation>
    </message>
    <message>
        <source>Ajustar al mostrar</source>
        <translation>Frame when shown</translation>
    </message>
    <message>
        <source>Páginas de textura</source>
        <translation>Texture pages</translation>
    </message>
    <message>
        <source>Nivel completo</source>
        <translation>Whole level</translation>
    </message>
    <message>
        <source>Estáticos</source>
        <translation>Statics</translation>
    </message>
    <message>
        <source>Items</source>
        <translation>Items</translation>
    </message>
    <message>
        <source>Salas alternas</source>
        <translation>Alternate rooms</translation>
    </message>
    <message>
        <source>Ninguna</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Todas</source>
        <translation>All</translation>
    </message>
    <message>
        <source>Grupo %1</source>
        <translation>Group %1</translation>
    </message>
    <message>
        <source>Teñir el agua</source>
        <translation>Tint water</translation>
    </message>
    <message>
        <source>Alambre</source>
        <translation>Wireframe</translation>
    </message>
    <message>
        <source>Detalles</source>
        <translation>Details</translation>
    </message>
</context>
<context>
    <name>MostradorNivel</name>
    <message>
        <source>El grupo alterno %1 no tiene salas en este nivel</source>
        <translation>Alternate group %1 has no rooms in this level</translation>
    </message>
</context>
<context>
    <name>PanelDetalles</name>
    <message>
        <source>Ir a</source>
        <translation>Go to</translation>
    </message>
    <message>
        <source>item %1</source>
        <translation>item %1</translation>
    </message>
    <message>
        <source>cámara %1</source>
        <translation>camera %1</translation>
    </message>
    <message>
        <source>sumidero %1</source>
        <translation>sink %1</translation>
    </message>
    <message>
        <source>vuelo %1</source>
        <translation>flyby %1</translation>
    </message>
    <message>
        <source>grupo alterno %1</source>
        <translation>alternate group %1</translation>
    </message>
    <message>
        <source>diagonal de x+z- a x-z+</source>
        <translation>diagonal from x+z- to x-z+</translation>
    </message>
    <message>
        <source>diagonal de x-z- a x+z+</source>
        <translation>diagonal from x-z- to x+z+</translation>
    </message>
    <message>
        <source>; portal en la mitad de %1</source>
        <translation>; the %1 half is a portal</translation>
    </message>
    <message>
        <source>Suelo en las esquinas</source>
        <translation>Floor at the corners</translation>
    </message>
    <message>
        <source>Corte del suelo</source>
        <translation>Floor cut</translation>
    </message>
    <message>
        <source>Techo en las esquinas</source>
        <translation>Ceiling at the corners</translation>
    </message>
    <message>
        <source>Corte del techo</source>
        <translation>Ceiling cut</translation>
    </message>
    <message>
        <source>Portal al cuarto</source>
        <translation>Portal to room</translation>
    </message>
    <message>
        <source>muerte</source>
        <translation>kill</translation>
    </message>
    <message>
        <source>trepar (%1)</source>
        <translation>climb (%1)</translation>
    </message>
    <message>
        <source>mono</source>
        <translation>monkey swing</translation>
    </message>
    <message>
        <source>disparador diferido</source>
        <translation>trigger triggerer</translation>
    </message>
    <message>
        <source>escarabajo</source>
        <translation>beetle path</translation>
    </message>
    <message>
        <source>Marcas</source>
        <translation>Marks</translation>
    </message>
    <message>
        <source>Disparador</source>
        <translation>Trigger</translation>
    </message>
    <message>
        <source>Aviso</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Detalles</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Campo</source>
        <translation>Field</translation>
    </message>
    <message>
        <source>Valor</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Haga clic en el nivel o en un objeto para ver qué es</source>
        <translation>Click the level or an object to see what it is</translation>
    </message>
    <message>
        <source>Nada elegido</source>
        <translation>Nothing picked</translation>
    </message>
    <message>
        <source>Objeto</source>
        <translation>Object</translation>
    </message>
    <message>
        <source>Pieza del objeto</source>
        <translation>Piece of the object</translation>
    </message>
    <message>
        <source>%1 de %2</source>
        <translation>%1 of %2</translation>
    </message>
    <message>
        <source>Índice en la lista de meshes</source>
        <translation>Index in the mesh list</translation>
    </message>
    <message>
        <source>Cuelga de la pieza</source>
        <translation>Hangs from piece</translation>
    </message>
    <message>
        <source>ninguna (raíz)</source>
        <translation>none (root)</translation>
    </message>
    <message>
        <source>Vértices, rectángulos, triángulos</source>
        <translation>Vertices, rectangles, triangles</translation>
    </message>
    <message>
        <source>Mesh %1</source>
        <translation>Mesh %1</translation>
    </message>
    <message>
        <source>Item %1</source>
        <translation>Item %1</translation>
    </message>
    <message>
        <source> (Lara, con las meshes del movible %1)</source>
        <translation> (Lara, wearing moveable %1&apos;s meshes)</translation>
    </message>
    <message>
        <source>Movible</source>
        <translation>Moveable</translation>
    </message>
    <message>
        <source>Cuarto</source>
        <translation>Room</translation>
    </message>
    <message>
        <source>Posición</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Ángulo</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>Bits de código</source>
        <translation>Code bits</translation>
    </message>
    <message>
        <source>Banderas</source>
        <translation>Flags</translation>
    </message>
    <message>
        <source>Índice en la lista de items</source>
        <translation>Index in the item list</translation>
    </message>
    <message>
        <source>Intensidad</source>
        <translation>Intensity</translation>
    </message>
    <message>
        <source>Estático %1</source>
        <translation>Static %1</translation>
    </message>
    <message>
        <source>Id</source>
        <translation>Id</translation>
    </message>
    <message>
        <source>Lugar</source>
        <translation>Place</translation>
    </message>
    <message>
        <source>Giro</source>
        <translation>Rotation</translation>
    </message>
    <message>
        <source>Colocación</source>
        <translation>Placement</translation>
    </message>
    <message>
        <source>Cuarto %1</source>
        <translation>Room %1</translation>
    </message>
    <message>
        <source>Número</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>Caja x</source>
        <translation>Box x</translation>
    </message>
    <message>
        <source>Caja y</source>
        <translation>Box y</translation>
    </message>
    <message>
        <source>Caja z</source>
        <translation>Box z</translation>
    </message>
    <message>
        <source>Sectores (x por z)</source>
        <translation>Sectors (x by z)</translation>
    </message>
    <message>
        <source>Cuarto alterno</source>
        <translation>Alternate room</translation>
    </message>
    <message>
        <source>ninguno</source>
        <translation>none</translation>
    </message>
    <message>
        <source>Punto</source>
        <translation>Point</translation>
    </message>
    <message>
        <source>Sector bajo el cursor</source>
        <translation>Sector under the cursor</translation>
    </message>
    <message>
        <source>x %1, z %2</source>
        <translation>x %1, z %2</translation>
    </message>
    <message>
        <source>Altura del suelo</source>
        <translation>Floor height</translation>
    </message>
    <message>
        <source>Altura del techo</source>
        <translation>Ceiling height</translation>
    </message>
    <message>
        <source>Caja del sector</source>
        <translation>Sector&apos;s box</translation>
    </message>
    <message>
        <source>Cuarto debajo</source>
        <translation>Room below</translation>
    </message>
    <message>
        <source>Cuarto encima</source>
        <translation>Room above</translation>
    </message>
    <message>
        <source>fuera de la rejilla</source>
        <translation>outside the grid</translation>
    </message>
</context>
<context>
    <name>PanelDisparadores</name>
    <message>
        <source>Disparadores</source>
        <translation>Triggers</translation>
    </message>
    <message>
        <source>Todos los tipos</source>
        <translation>All types</translation>
    </message>
    <message>
        <source>Todas las acciones</source>
        <translation>All actions</translation>
    </message>
    <message>
        <source>Mapas alternos</source>
        <translation>Flip maps</translation>
    </message>
    <message>
        <source>Cuarto</source>
        <translation>Room</translation>
    </message>
    <message>
        <source>Sector</source>
        <translation>Sector</translation>
    </message>
    <message>
        <source>Tipo</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Acciones</source>
        <translation>Actions</translation>
    </message>
    <message>
        <source>x %1, z %2</source>
        <translation>x %1, z %2</translation>
    </message>
</context>
<context>
    <name>PanelGL</name>
    <message>
        <source>la plataforma no ofrece contextos OpenGL</source>
        <translation>the platform offers no OpenGL contexts</translation>
    </message>
    <message>
        <source>no se pudo crear un contexto OpenGL 3.3 núcleo</source>
        <translation>no OpenGL 3.3 core context could be created</translation>
    </message>
</context>
<context>
    <name>PanelPaginas</name>
    <message>
        <source>Páginas de textura</source>
        <translation>Texture pages</translation>
    </message>
    <message>
        <source>Guardar como PNG</source>
        <translation>Save as PNG</translation>
    </message>
    <message>
        <source>Guardar la página como PNG</source>
        <translation>Save the page as PNG</translation>
    </message>
    <message>
        <source>Imagen PNG (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <source>Página %1</source>
        <translation>Page %1</translation>
    </message>
    <message>
        <source>pagina-%1.png</source>
        <translation>page-%1.png</translation>
    </message>
    <message>
        <source>No se pudo escribir &quot;%1&quot;.</source>
        <translation>Could not write &quot;%1&quot;.</translation>
    </message>
</context>
<context>
    <name>PanelSonidos</name>
    <message>
        <source>Sonidos</source>
        <translation>Sounds</translation>
    </message>
    <message>
        <source>Sonido %1 · sin muestras</source>
        <translation>Sound %1 · no samples</translation>
    </message>
    <message>
        <source>Sonido %1 · muestras %2</source>
        <translation>Sound %1 · samples %2</translation>
    </message>
    <message>
        <source>Muestra %1 · no se puede oír</source>
        <translation>Sample %1 · cannot be heard</translation>
    </message>
    <message>
        <source>El nivel no tiene sonidos.</source>
        <translation>The level has no sounds.</translation>
    </message>
    <message>
        <source>%1 sonidos · %2 muestras (%3 se pueden oír)</source>
        <translation>%1 sounds · %2 samples (%3 can be heard)</translation>
    </message>
</context>
<context>
    <name>ReproductorSonido</name>
    <message>
        <source>La muestra %1 no se puede oír: %2</source>
        <translation>Sample %1 cannot be heard: %2</translation>
    </message>
    <message>
        <source>No hay salida de sonido: los sonidos del nivel no se oyen</source>
        <translation>No audio output: the level&apos;s sounds are not heard</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>Lista de disparadores</source>
        <translation>Trigger list</translation>
    </message>
    <message>
        <source>Visualizador de Prueba</source>
        <translation>Test Viewer</translation>
    </message>
    <message>
        <source>Abrir Archivo de Tomb Raider 4</source>
        <translation>Open Tomb Raider 4 File</translation>
    </message>
    <message>
        <source>Niveles de Tomb Raider (*.tr4 *.phd *.tr2)</source>
        <translation>Tomb Raider levels (*.tr4 *.phd *.tr2)</translation>
    </message>
    <message>
        <source>Archivo</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Abrir</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Salir</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Ayuda</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Acerca..</source>
        <translation>About..</translation>
    </message>
    <message>
        <source>Exportar</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>glTF binario (*.glb)</source>
        <translation>Binary glTF (*.glb)</translation>
    </message>
    <message>
        <source>glTF con archivos al lado (*.gltf)</source>
        <translation>glTF with files beside it (*.gltf)</translation>
    </message>
    <message>
        <source>Exportar...</source>
        <translation>Export...</translation>
    </message>
</context>
<context>
    <name>tr4visor</name>
    <message>
        <source>Visor de niveles de Tomb Raider 4</source>
        <translation>Viewer of Tomb Raider 4 levels</translation>
    </message>
    <message>
        <source>NIVEL</source>
        <translation>LEVEL</translation>
    </message>
    <message>
        <source>Nivel .tr4 que se abre al empezar.</source>
        <translation>.tr4 level to open at start.</translation>
    </message>
    <message>
        <source>[NIVEL]</source>
        <translation>[LEVEL]</translation>
    </message>
</context>
</TS>
