<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>PictureLoader</name>
    <message>
        <source>ファイルが見つかりません。</source>
        <translation>file not found</translation>
    </message>
    <message>
        <source>フォルダーは画像として開けません。</source>
        <translation>a folder cannot be opened as a picture</translation>
    </message>
    <message>
        <source>通常のファイルではない (パイプ、デバイスなど) ため、画像として開けません。</source>
        <translation>not a regular file (a pipe, a device, ...): it cannot be opened as a picture</translation>
    </message>
    <message>
        <source>ファイルを開けません: </source>
        <translation>cannot open the file: </translation>
    </message>
    <message>
        <source>ファイルが空です。画像ではありません。</source>
        <translation>the file is empty: not a picture</translation>
    </message>
    <message>
        <source>画像ファイルが途中で切れています。</source>
        <translation>the picture file is cut off</translation>
    </message>
    <message>
        <source>メモリが不足しているため、画像を読み込めません。</source>
        <translation>not enough memory to load the picture</translation>
    </message>
    <message>
        <source>画像の形式が認識できません。</source>
        <translation>unknown picture format</translation>
    </message>
    <message>
        <source>画像が大きすぎて読み込めません (%1 x %2 ピクセル)。</source>
        <translation>the picture is too large to load (%1 x %2 pixels)</translation>
    </message>
    <message>
        <source>画像を読み込めません: </source>
        <translation>cannot load the picture: </translation>
    </message>
    <message>
        <source>画像が大きすぎて読み込めません (SVG の文書が %1 MB を超えます)。</source>
        <translation>the picture is too large to load (its SVG document is over %1 MB)</translation>
    </message>
    <message>
        <source>SVG の文書が壊れているため、画像を読み込めません。</source>
        <translation>cannot load the picture: its SVG document is damaged</translation>
    </message>
    <message>
        <source>画像ファイルが壊れています。</source>
        <translation>the picture file is damaged</translation>
    </message>
</context>
<context>
    <name>OutputFile</name>
    <message>
        <source>名前付きパイプを読み出しているプログラムがありません。</source>
        <translation>no program is reading from the named pipe</translation>
    </message>
</context>
</TS>
