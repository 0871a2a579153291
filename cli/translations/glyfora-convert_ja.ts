<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>ToolText</name>
    <message>
        <source>standard input</source>
        <translation>標準入力</translation>
    </message>
    <message>
        <source>standard output</source>
        <translation>標準出力</translation>
    </message>
    <message>
        <source>cannot write into this folder: %1</source>
        <translation>このフォルダーには書き込めません: %1</translation>
    </message>
    <message>
        <source>the result would replace the picture itself</source>
        <translation>結果が画像そのものを置き換えてしまいます</translation>
    </message>
    <message>
        <source>the result would replace the picture %1</source>
        <translation>結果が画像 %1 を置き換えてしまいます</translation>
    </message>
    <message>
        <source>standard input (-) given more than once</source>
        <translation>標準入力 (-) が二度以上指定されています</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 には値が必要です</translation>
    </message>
    <message>
        <source>--reverse and --no-reverse exclude each other</source>
        <translation>--reverse と --no-reverse は同時に指定できません</translation>
    </message>
    <message>
        <source>cell size must be XxY with X and Y from 1 to %1: %2</source>
        <translation>セルの大きさは XxY (X と Y は 1 から %1) で指定してください: %2</translation>
    </message>
    <message>
        <source>%1 needs a whole number from 1 to %2: %3</source>
        <translation>%1 には 1 から %2 の整数を指定してください: %3</translation>
    </message>
    <message>
        <source>--aspect needs a number above 0 and at most %1: %2</source>
        <translation>--aspect には 0 より大きく %1 以下の数を指定してください: %2</translation>
    </message>
    <message>
        <source>--sample must be pixel or mean: %1</source>
        <translation>--sample には pixel か mean を指定してください: %1</translation>
    </message>
    <message>
        <source>--brightness must be max or luminance: %1</source>
        <translation>--brightness には max か luminance を指定してください: %1</translation>
    </message>
    <message>
        <source>--color must be auto, always or never: %1</source>
        <translation>--color には auto、always、never のどれかを指定してください: %1</translation>
    </message>
    <message>
        <source>--background must be dark, light or auto: %1</source>
        <translation>--background には dark、light、auto のどれかを指定してください: %1</translation>
    </message>
    <message>
        <source>--color-depth must be 24 or 256: %1</source>
        <translation>--color-depth には 24 か 256 を指定してください: %1</translation>
    </message>
    <message>
        <source>the ramp must hold 1 to %1 characters of UTF-8 and no control characters</source>
        <translation>文字列は UTF-8 の 1 から %1 文字で、制御文字を含まないものにしてください</translation>
    </message>
    <message>
        <source>selection must be L,T,W,H (numbers, W and H not negative): %1</source>
        <translation>範囲は L,T,W,H (数値、W と H は 0 以上) で指定してください: %1</translation>
    </message>
    <message>
        <source>-o needs a file name</source>
        <translation>-o にはファイル名が必要です</translation>
    </message>
    <message>
        <source>-O needs a folder</source>
        <translation>-O にはフォルダーが必要です</translation>
    </message>
    <message>
        <source>-j needs a number from 1 to %1</source>
        <translation>-j には 1 から %1 の数を指定してください</translation>
    </message>
    <message>
        <source>unknown option: %1</source>
        <translation>不明なオプションです: %1</translation>
    </message>
    <message>
        <source>no picture given</source>
        <translation>画像が指定されていません</translation>
    </message>
    <message>
        <source>-o and -O exclude each other</source>
        <translation>-o と -O は同時に指定できません</translation>
    </message>
    <message>
        <source>-o takes one picture; use -O DIR for several</source>
        <translation>-o に指定できる画像は一つです。複数の画像には -O DIR を使ってください</translation>
    </message>
    <message>
        <source>--aspect needs --width or --height</source>
        <translation>--aspect は --width か --height と一緒に指定してください</translation>
    </message>
    <message>
        <source>Usage: glyfora-convert [OPTION]... PICTURE...
Turns pictures into character art, or into coloured HTML cells with --html.
Cells:
  --cell XxY        cell width and height in pixels (from 1 to 1000000)
  --width N         cells for at most N columns
  --height N        cells for at most N rows; with --width the picture fits both
                    (default on a terminal: its columns and its rows less one;
                    else the cell glyfora uses)
  --aspect R        a cell&apos;s height over its width for --width and --height
                    (default: the shape of --cell, else 2, or 1 for --html)
  --sample pixel    each cell takes its top-left pixel, as glyfora (default)
  --sample mean     each cell takes the mean colour of its pixels
Characters and colours:
  --ramp TEXT       the characters, brightest first, 1 to 64 of them
  --reverse         darkest character for the brightest cells
  --no-reverse      first character for the brightest cells
  --background B    the paper: dark, light or auto (default: a terminal&apos;s own,
                    asked of it; else light, or dark with colours); on dark the
                    ramp runs the other way unless --reverse or --no-reverse
  --color[=WHEN]    each character in its cell&apos;s colour: auto (default: on a
                    terminal unless NO_COLOR is set), always (also --color),
                    never
  --color-depth D   24 (24-bit colours) or 256 (the 256-colour palette); default
                    24 when COLORTERM is truecolor or 24bit, else 256
  --html            coloured HTML cells instead of characters; with a style
                    other than exact, the art as coloured text
  --page            wrap each result in the HTML templates, as an HTML save does
Looks:
  --style exact     glyfora&apos;s own scan, byte for byte (default)
  --style tone      the ramp&apos;s characters by tone, measured in the font
  --style shape     the character whose drawn glyph best matches each cell
  --style blocks    block elements, two colours a cell: colour terminals
  --style braille   2 x 4 braille dots a cell: fine line drawings
                    Styles other than exact sample each cell&apos;s area: --width N
                    gives exactly N columns, --height N exactly N rows.
  --dither D        none, or diffusion (each cell&apos;s error carried to the next);
                    default diffusion for tone and blocks, else none
  --brightness B    exact&apos;s brightness: max (the largest of red, green and
                    blue) or luminance; default glyfora&apos;s setting, else max
  --font FAMILY     the font tone and shape measure their characters in
                    (default: fontconfig&apos;s monospace); one not installed is
                    refused
  --fg-only         with colour, only the characters&apos; colour, not the cells&apos;
Pictures and results:
  --select L,T,W,H  convert only this rectangle of each picture, in pixels
  -o FILE           write the one picture&apos;s result to FILE
  -O DIR            write each result to DIR/NAME.txt (NAME.html with --html),
                    NAME the picture&apos;s name without folder and extension; a name
                    already used gets -2, -3, ...
  -j N              convert N pictures at once (default: one per processor)
  --quiet           no progress line on a terminal
  --help            show this text
  --version         show the version
A PICTURE of - is read from standard input. Without -o and -O the results go to
standard output one after another, in the order given. A picture that fails is
reported on standard error and the others are still converted (exit status 1);
a usage error ends with exit status 2. Options not given take the values
glyfora itself would use. Messages are in Japanese under a Japanese locale,
else English.
Examples:
  glyfora-convert photo.jpg
  glyfora-convert --width 80 photo.jpg
  glyfora-convert --height 40 --sample mean --color=always photo.jpg | less -R
  glyfora-convert --cell 8x16 --ramp &apos; .:-=+*#%@&apos; -o photo.txt photo.jpg
  glyfora-convert --style shape --width 100 -o photo.txt photo.jpg
  glyfora-convert --style blocks --width 100 --color=always photo.jpg
  glyfora-convert --html --page --width 160 -o photo.html photo.jpg
  mkdir -p ascii &amp;&amp; glyfora-convert --cell 1x2 -O ascii photos/*.jpg
</source>
        <translation>使い方: glyfora-convert [オプション]... 画像...
画像を文字で描いた絵に変換します。--html では色付きの HTML セルにします。
セル:
  --cell XxY        セルの幅と高さ (ピクセル、1 から 1000000)
  --width N         N 列以内になるセル
  --height N        N 行以内になるセル。--width と一緒なら両方に収まる
                    (既定: 端末ではその列数と、行数より 1 少ない行。ほかでは
                    glyfora と同じセル)
  --aspect R        --width と --height で使うセルの高さと幅の比
                    (既定: --cell の形、なければ 2、--html では 1)
  --sample pixel    各セルは左上のピクセルを取る。glyfora と同じ (既定)
  --sample mean     各セルはピクセルの平均の色を取る
文字と色:
  --ramp TEXT       使う文字。明るいほうから 1 から 64 文字
  --reverse         いちばん明るいセルに最後の文字を使う
  --no-reverse      いちばん明るいセルに最初の文字を使う
  --background B    絵の地の色: dark、light、auto (既定: 端末ではその背景の色を
                    問い合わせて決める。ほかでは light、色付きなら dark)。dark
                    では --reverse も --no-reverse もなければ文字を逆順に使う
  --color[=WHEN]    各文字をセルの色で表示: auto (既定: 端末で、NO_COLOR が
                    ないとき)、always (--color だけでも)、never
  --color-depth D   24 (24 ビットの色) か 256 (256 色のパレット)。既定は
                    COLORTERM が truecolor か 24bit なら 24、ほかは 256
  --html            文字の代わりに色付きの HTML セル。exact 以外の仕上がりでは
                    絵そのものを色付きの文字で書く
  --page            HTML 保存と同じく、結果を HTML のテンプレートで囲む
仕上がり:
  --style exact     glyfora 本体のスキャンそのまま (既定)
  --style tone      フォントで測った濃さでランプの文字を選ぶ
  --style shape     描いた字形が各セルにいちばん合う文字を選ぶ
  --style blocks    ブロック要素、1 セルに 2 色: カラー端末向け
  --style braille   1 セルに 2 x 4 の点字の点: 細い線画向け
                    exact 以外はセルの面積で標本を取る: --width N でちょうど
                    N 列、--height N でちょうど N 行になる
  --dither D        none か diffusion (各セルの誤差を次へ送る)。既定は tone と
                    blocks では diffusion、ほかでは none
  --brightness B    exact の明るさ: max (赤・緑・青の最大) か luminance (輝度)。
                    既定は glyfora の設定、なければ max
  --font FAMILY     tone と shape が文字を測るフォント (既定: fontconfig の
                    monospace)。入っていないフォントは受け付けない
  --fg-only         色付きのとき、セルの色ではなく文字の色だけを付ける
画像と結果:
  --select L,T,W,H  各画像のこの四角形 (ピクセル) だけを変換する
  -o FILE           一つの画像の結果を FILE に書く
  -O DIR            各結果を DIR/NAME.txt (--html では NAME.html) に書く。
                    NAME は画像の名前からフォルダーと拡張子を除いたもの。
                    使用済みの名前には -2、-3、... が付く
  -j N              N 個の画像を同時に変換する (既定: プロセッサーの数)
  --quiet           端末に進み具合を表示しない
  --help            この説明を表示する
  --version         バージョンを表示する
画像に - を指定すると標準入力から読みます。-o も -O もなければ、結果は指定の順に
標準出力に続けて書きます。失敗した画像は標準エラーに報告し、ほかの画像の変換は
続けます (終了ステータス 1)。使い方の誤りは終了ステータス 2 です。指定のない
オプションには glyfora 本体と同じ値を使います。メッセージは日本語のロケールでは
日本語、ほかでは英語です。
例:
  glyfora-convert photo.jpg
  glyfora-convert --width 80 photo.jpg
  glyfora-convert --height 40 --sample mean --color=always photo.jpg | less -R
  glyfora-convert --cell 8x16 --ramp &apos; .:-=+*#%@&apos; -o photo.txt photo.jpg
  glyfora-convert --style shape --width 100 -o photo.txt photo.jpg
  glyfora-convert --style blocks --width 100 --color=always photo.jpg
  glyfora-convert --html --page --width 160 -o photo.html photo.jpg
  mkdir -p ascii &amp;&amp; glyfora-convert --cell 1x2 -O ascii photos/*.jpg
</translation>
    </message>
    <message>
        <source>Try &apos;%1 --help&apos; for more information.</source>
        <translation>詳しくは &apos;%1 --help&apos; を見てください。</translation>
    </message>
    <message>
        <source>not enough memory to hold the result</source>
        <translation>結果を保持するメモリが不足しています</translation>
    </message>
    <message>
        <source>the conversion produced nothing</source>
        <translation>変換結果が空です</translation>
    </message>
    <message>
        <source>not enough memory to load the picture</source>
        <translation>メモリが不足しているため、画像を読み込めません。</translation>
    </message>
    <message>
        <source>the selection holds no part of the picture</source>
        <translation>範囲に画像の部分がありません</translation>
    </message>
    <message>
        <source>not enough memory to convert the picture</source>
        <translation>文字列領域が不足しています。変換に失敗しました。</translation>
    </message>
    <message>
        <source>%1/%2 done, %3 failed, %4 elapsed, about %5 left</source>
        <translation>%1/%2 完了、失敗 %3、経過 %4、残り約 %5</translation>
    </message>
    <message>
        <source>%1 converted, %2 failed in %3</source>
        <translation>変換 %1、失敗 %2、所要 %3</translation>
    </message>
    <message>
        <source>cannot hold the picture: %1</source>
        <translation>画像を保持できません: %1</translation>
    </message>
    <message>
        <source>cannot read: %1</source>
        <translation>読み込めません: %1</translation>
    </message>
    <message>
        <source>the picture is larger than %1 MiB</source>
        <translation>画像が %1 MiB を超えています</translation>
    </message>
    <message>
        <source>--style must be exact, tone, shape, blocks or braille: %1</source>
        <translation>--style は exact、tone、shape、blocks、braille のどれかです: %1</translation>
    </message>
    <message>
        <source>--dither must be none or diffusion: %1</source>
        <translation>--dither は none か diffusion です: %1</translation>
    </message>
    <message>
        <source>--ramp has no meaning with --style %1</source>
        <translation>--style %1 では --ramp は使えません</translation>
    </message>
    <message>
        <source>no font family named %1 is installed (fc-list lists them)</source>
        <translation>フォント %1 は入っていません (fc-list で一覧できます)</translation>
    </message>
</context>
</TS>
