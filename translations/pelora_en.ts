<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>CalibrationPage</name>
    <message>
        <source>印刷位置の調整用ページ</source>
        <translation>Print position test page</translation>
    </message>
    <message>
        <source>プリンタ: </source>
        <translation>Printer: </translation>
    </message>
    <message>
        <source>このページの補正: 横 %1 mm&#x3000;縦 %2 mm&#x3000;倍率 %3 %</source>
        <translation>Correction on this page: horizontal %1 mm, vertical %2 mm, scale %3 %</translation>
    </message>
    <message>
        <source>定規で長さを mm で測り、倍率を先に、位置をその後に合わせます。</source>
        <translation>Measure lengths in mm with a ruler. Set the scale first, then the position.</translation>
    </message>
    <message>
        <source>1. 倍率：左右の十字の中心の間を測り、倍率を「%1 × %2 ÷ 測った長さ」にします。</source>
        <translation>1. Scale: measure between the centers of the left and right crosses, and set the scale to &quot;%1 × %2 ÷ measured length&quot;.</translation>
    </message>
    <message>
        <source>2. 倍率を変えたときは、このページを印刷し直してから位置を測ります。</source>
        <translation>2. After changing the scale, print this page again before measuring the position.</translation>
    </message>
    <message>
        <source>3. 横の位置：用紙の左端から左上の十字の中心までを測り、横の位置に「%1.0 − 測った長さ」を足します。</source>
        <translation>3. Horizontal offset: measure from the left edge of the paper to the center of the top left cross, and add &quot;%1.0 − measured length&quot; to the horizontal offset.</translation>
    </message>
    <message>
        <source>4. 縦の位置：用紙の上端から左上の十字の中心までを測り、縦の位置に「%1.0 − 測った長さ」を足します。</source>
        <translation>4. Vertical offset: measure from the top edge of the paper to the center of the top left cross, and add &quot;%1.0 − measured length&quot; to the vertical offset.</translation>
    </message>
    <message>
        <source>＋の値で右・下へ動きます。目盛りと十字の横の数字は、用紙の左端・上端からの距離（mm）です。</source>
        <translation>Positive values move the print right and down. The numbers on the rulers and beside the crosses are distances in mm from the left and top edges of the paper.</translation>
    </message>
</context>
<context>
    <name>CdText</name>
    <message>
        <source>CD-TEXT が壊れています（どのパックも CRC が合いません）</source>
        <translation>the CD-TEXT is damaged (no pack&apos;s CRC matches)</translation>
    </message>
    <message>
        <source>CD-TEXT に文字がありません</source>
        <translation>the CD-TEXT holds no text</translation>
    </message>
    <message>
        <source>CD-TEXT がありません</source>
        <translation>there is no CD-TEXT</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>--export-pdf と --print は一緒に使えません</source>
        <translation>--export-pdf and --print cannot be used together</translation>
    </message>
    <message>
        <source>これらのオプションは --export-pdf ファイル か --print と一緒に使います</source>
        <translation>these options need a command: --export-pdf FILE or --print</translation>
    </message>
    <message>
        <source>文書が指定されていません</source>
        <translation>no document given</translation>
    </message>
    <message>
        <source>文書は一度に 1 つです（%1 個指定されています: %2）</source>
        <translation>one document at a time (%1 given: %2)</translation>
    </message>
    <message>
        <source>--export-pdf には書き出すファイルの名前が要ります</source>
        <translation>--export-pdf needs a file name</translation>
    </message>
    <message>
        <source>--export-pdf が書き出すのは PDF で、文書 &apos;%1&apos; ではありません。引数が逆のようです (%2)</source>
        <translation>--export-pdf writes a PDF, not the document &apos;%1&apos;: the arguments look swapped (%2)</translation>
    </message>
    <message>
        <source>--printer と --copies は --print と一緒に使います</source>
        <translation>--printer and --copies go with --print</translation>
    </message>
    <message>
        <source>--one-sheet は表と裏を 1 枚に並べます。--side both と一緒に使います</source>
        <translation>--one-sheet puts both faces on one sheet: it goes with --side both</translation>
    </message>
    <message>
        <source>--print が印刷するのは 1 面か、--one-sheet で表と裏の 2 面です: --side front、--side back、--side both --one-sheet のどれかにします</source>
        <translation>--print prints one face, or both with --one-sheet: --side front, --side back or --side both --one-sheet</translation>
    </message>
    <message>
        <source>--title-size は整数です（&apos;%1&apos; ではありません）</source>
        <translation>--title-size must be a whole number, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--item-size は整数です（&apos;%1&apos; ではありません）</source>
        <translation>--item-size must be a whole number, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--copies は 1 以上の整数です（&apos;%1&apos; ではありません）</source>
        <translation>--copies must be a positive whole number, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--copies は %1 までです（&apos;%2&apos; ではありません）。もっと多く印刷するときは、コマンドをもう一度実行してください</source>
        <translation>--copies must be at most %1, not &apos;%2&apos; (for more, run the command again)</translation>
    </message>
    <message>
        <source>--printer にはプリンタの名前が要ります</source>
        <translation>--printer needs a queue name</translation>
    </message>
    <message>
        <source>--marks は dashed、crop、none のどれかです（&apos;%1&apos; ではありません）</source>
        <translation>--marks must be dashed, crop or none, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--product には用紙のメーカーと品番を指定します（例: --product &quot;Avery 8435B&quot;）</source>
        <translation>--product needs a product&apos;s brand and part, e.g. --product &quot;Avery 8435B&quot;</translation>
    </message>
    <message>
        <source>使い方は pelora --help で表示されます。
</source>
        <translation>Try &apos;pelora --help&apos; for the usage.
</translation>
    </message>
    <message>
        <source>標準出力</source>
        <translation>standard output</translation>
    </message>
    <message>
        <source>%1 は文書そのものです。引数が逆のようです (%2)</source>
        <translation>%1 is the document itself: the arguments look swapped (%2)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; はジャケットの文書ではなく PDF です。引数が逆のようです (%2)</source>
        <translation>&apos;%1&apos; is a PDF, not a jacket: the arguments look swapped (%2)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; はジャケットの文書ではなく PDF です (%2)</source>
        <translation>&apos;%1&apos; is a PDF, not a jacket (%2)</translation>
    </message>
    <message>
        <source>%1: 空の文書です（ジャケットの文書は 1 行目がタイトルです）</source>
        <translation>%1: an empty document (a jacket has its title on the first line)</translation>
    </message>
    <message>
        <source>（近い名前: %1）</source>
        <translation> (did you mean: %1?)</translation>
    </message>
    <message>
        <source>ラベル用紙のデータベースに &apos;%1&apos; はありません%2</source>
        <translation>no product &apos;%1&apos; in the label database%2</translation>
    </message>
    <message>
        <source>用紙 &apos;%1&apos; にはディスクのレーベルがありません%2</source>
        <translation>the product &apos;%1&apos; has no label for the disc%2</translation>
    </message>
    <message>
        <source>用紙 &apos;%1&apos; にはジャケットの表と裏のラベルがありません%2</source>
        <translation>the product &apos;%1&apos; has no label for both faces of the jacket%2</translation>
    </message>
    <message>
        <source>用紙 &apos;%1&apos; にはジャケットの表のラベルがありません%2</source>
        <translation>the product &apos;%1&apos; has no label for the front of the jacket%2</translation>
    </message>
    <message>
        <source>用紙 &apos;%1&apos; にはジャケットの裏のラベルがありません%2</source>
        <translation>the product &apos;%1&apos; has no label for the back of the jacket%2</translation>
    </message>
    <message>
        <source>%1 を読むプログラムを待っています（まだ誰も読んでいない FIFO です）</source>
        <translation>waiting for a program to read %1 (a FIFO that nobody reads yet)</translation>
    </message>
    <message>
        <source>（%1 にはタイトルだけで、内容の行がありません）</source>
        <translation> (%1 has a title but no item lines)</translation>
    </message>
    <message>
        <source>（どのフォントサイズでも文字が面に収まりません）</source>
        <translation> (the text does not fit the face at any font size)</translation>
    </message>
    <message>
        <source>書き出し</source>
        <translation>the export</translation>
    </message>
    <message>
        <source>（表と裏が %2 の %1 の用紙に収まりません）</source>
        <translation> (the two faces do not fit the %1 sheet of %2)</translation>
    </message>
    <message>
        <source>（面が %2 の %1 の用紙に収まりません）</source>
        <translation> (the face does not fit the %1 sheet of %2)</translation>
    </message>
    <message>
        <source>プリンタ %1 が見つかりません（その名前のプリンタはありません）</source>
        <translation>printer %1 not found (no printer of that name)</translation>
    </message>
    <message>
        <source>プリンタ %1 は印刷を受け付けていません（ジョブを断っています）</source>
        <translation>printer %1 does not accept jobs (the queue rejects them)</translation>
    </message>
    <message>
        <source>%1 は文書の表紙の画像 &apos;%2&apos; です。このコマンドが読むファイルなので、PDF は別の名前で書き出してください</source>
        <translation>%1 is the document&apos;s cover picture &apos;%2&apos;, which this command reads: write the PDF under another name</translation>
    </message>
    <message>
        <source>%1 は設定ファイル &apos;%2&apos; です。このコマンドが読むファイルなので、PDF は別の名前で書き出してください</source>
        <translation>%1 is the settings file &apos;%2&apos;, which this command reads: write the PDF under another name</translation>
    </message>
    <message>
        <source>%1 はフォルダではありません</source>
        <translation>%1 is not a folder</translation>
    </message>
    <message>
        <source>フォルダ %1 がありません</source>
        <translation>there is no folder %1</translation>
    </message>
    <message>
        <source>既定のプリンタが決まっていません。--printer で印刷するプリンタを指定してください</source>
        <translation>no default printer is set: name the printer with --printer</translation>
    </message>
    <message>
        <source>既定のプリンタ %1 が見つかりません（その名前のプリンタはありません）。--printer で別のプリンタを指定してください</source>
        <translation>the default printer %1 is not found (no printer of that name): name another with --printer</translation>
    </message>
    <message>
        <source>既定のプリンタ %1 は印刷を受け付けていません（ジョブを断っています）。--printer で別のプリンタを指定してください</source>
        <translation>the default printer %1 does not accept jobs (the queue rejects them): name another with --printer</translation>
    </message>
    <message>
        <source>プリンタ %1 の用紙 &apos;%2&apos; はラベル用紙のデータベースにありません。--product で用紙を指定するか、ウィンドウの「用紙の選択」で選び直してください%3</source>
        <translation>the paper &apos;%2&apos; chosen for printer %1 is not in the label database; name the paper with --product, or choose it again with Choose Paper in the window%3</translation>
    </message>
    <message>
        <source>%1 はジャケットの文書ではありません（%2）</source>
        <translation>%1 is not a jacket document (%2)</translation>
    </message>
    <message>
        <source>表紙の画像 %1 を使えないので、表紙の画像なしで書き出します（%2）。</source>
        <translation>Cannot use the cover picture %1; exporting without it (%2).</translation>
    </message>
    <message>
        <source>%1 はディスクイメージのファイル &apos;%2&apos; です。このコマンドが読むファイルなので、文書は別の名前で書き出してください</source>
        <translation>%1 is the disc image&apos;s file &apos;%2&apos;, which this command reads: write the document under another name</translation>
    </message>
    <message>
        <source>%1 は設定ファイル &apos;%2&apos; です。このコマンドが読むファイルなので、文書は別の名前で書き出してください</source>
        <translation>%1 is the settings file &apos;%2&apos;, which this command reads: write the document under another name</translation>
    </message>
    <message>
        <source>%1 は読み込むディスクそのものです。引数が逆のようです (%2)</source>
        <translation>%1 is the disc being read: the arguments look swapped (%2)</translation>
    </message>
    <message>
        <source>%1ディスクの曲目だけで書き出します。</source>
        <translation>%1 Writing the track list from the disc alone.</translation>
    </message>
    <message>
        <source>%1表紙の画像なしで書き出します。</source>
        <translation>%1 Writing the jacket without a cover picture.</translation>
    </message>
    <message>
        <source>%1 から曲目を読み込めません（%2）</source>
        <translation>cannot read the track list of %1 (%2)</translation>
    </message>
    <message>
        <source>%1%2 は書き出していません。</source>
        <translation>%1 %2 was not written.</translation>
    </message>
    <message>
        <source>%1 には曲名があるので、MusicBrainz には問い合わせません。</source>
        <translation>%1 has titles of its own, so MusicBrainz is not asked.</translation>
    </message>
    <message>
        <source>--%1 は --import-cd と一緒に使えません</source>
        <translation>--%1 cannot be used with --import-cd</translation>
    </message>
    <message>
        <source>--import-cd には読み込むドライブかディスクイメージが要ります (%1)</source>
        <translation>--import-cd needs a drive or a disc image to read (%1)</translation>
    </message>
    <message>
        <source>書き出す文書の名前がありません (%1)</source>
        <translation>no document to write given (%1)</translation>
    </message>
    <message>
        <source>引数が逆のようです。読み込むドライブかディスクイメージが先、書き出す文書が後です (%1)</source>
        <translation>the arguments look swapped: the drive or disc image to read comes first, then the document to write (%1)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; には書き出せません（ジャケットの文書の名前は .plr で終わります）</source>
        <translation>cannot write &apos;%1&apos; (a jacket document&apos;s name ends in .plr)</translation>
    </message>
    <message>
        <source>--import-cd は --export-pdf とも --print とも一緒に使えません</source>
        <translation>--import-cd cannot be used with --export-pdf or --print</translation>
    </message>
    <message>
        <source>--lookup は --import-cd と一緒に使います</source>
        <translation>--lookup goes with --import-cd</translation>
    </message>
    <message>
        <source>帯は普通紙にだけ印刷します。用紙 &apos;%1&apos; には帯の場所がありません%2</source>
        <translation>the obi strip prints on plain paper only: the paper &apos;%1&apos; has no place for it%2</translation>
    </message>
    <message>
        <source>--side は front、back、both、label、obi のどれかです（&apos;%1&apos; ではありません）</source>
        <translation>--side must be front, back, both, label or obi, not &apos;%1&apos;</translation>
    </message>
</context>
<context>
    <name>CoverPicture</name>
    <message>
        <source>JPEG、PNG、WebP、BMP、GIF のどの画像でもありません</source>
        <translation>it is no JPEG, PNG, WebP, BMP or GIF picture</translation>
    </message>
    <message>
        <source>大きすぎます</source>
        <translation>it is too large</translation>
    </message>
    <message>
        <source>途中で切れているか、壊れています</source>
        <translation>it is cut short or damaged</translation>
    </message>
</context>
<context>
    <name>DataFile</name>
    <message>
        <source>  歌：</source>
        <translation>  by </translation>
    </message>
</context>
<context>
    <name>DiscImport</name>
    <message>
        <source>トラック %1</source>
        <translation>Track %1</translation>
    </message>
</context>
<context>
    <name>DiscSource</name>
    <message>
        <source>ドライブにディスクがありません</source>
        <translation>there is no disc in the drive</translation>
    </message>
    <message>
        <source>ドライブが使用中か、まだ準備ができていません</source>
        <translation>the drive is in use or not ready yet</translation>
    </message>
    <message>
        <source>CD ドライブとして読めません</source>
        <translation>it cannot be read as a CD drive</translation>
    </message>
    <message>
        <source>ディスクイメージではありません（.cue、.toc、.nrg を読めます）</source>
        <translation>it is not a disc image (.cue, .toc and .nrg can be read)</translation>
    </message>
    <message>
        <source>ディスクイメージか、そのデータファイルを読めません</source>
        <translation>the disc image or its data file cannot be read</translation>
    </message>
    <message>
        <source>音楽のトラックがありません</source>
        <translation>there are no audio tracks</translation>
    </message>
</context>
<context>
    <name>JacketFiles</name>
    <message>
        <source>読めません</source>
        <translation>it cannot be read</translation>
    </message>
</context>
<context>
    <name>JacketFormat</name>
    <message>
        <source>テキストではありません</source>
        <translation>it is not text</translation>
    </message>
    <message>
        <source>1 行もありません（ジャケットの文書は 1 行目がタイトルです）</source>
        <translation>it has no line at all (a jacket document has its title on the first line)</translation>
    </message>
</context>
<context>
    <name>JacketHistory</name>
    <message>
        <source>タイトル</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>編集</source>
        <translation>Edit</translation>
    </message>
</context>
<context>
    <name>Lookup</name>
    <message>
        <source>Cover Art Archive にこのリリースの表紙の画像はありません。</source>
        <translation>The Cover Art Archive has no front cover for this release.</translation>
    </message>
    <message>
        <source>%1 の画像を使えません（%2）。</source>
        <translation>Cannot use the picture from %1 (%2).</translation>
    </message>
    <message>
        <source>%1 の答えを読めません（%2）。</source>
        <translation>Cannot read the answer from %1 (%2).</translation>
    </message>
    <message>
        <source>MusicBrainz にこのディスクは登録されていません。</source>
        <translation>MusicBrainz does not know this disc.</translation>
    </message>
    <message>
        <source>リリースの一覧がありません</source>
        <translation>it holds no list of releases</translation>
    </message>
    <message>
        <source>問い合わせを取り消しました。</source>
        <translation>The lookup was cancelled.</translation>
    </message>
    <message>
        <source>%1 から %2 秒待っても答えがありません。</source>
        <translation>No answer from %1 within %2 seconds.</translation>
    </message>
    <message>
        <source>%1 に接続できません（%2）。</source>
        <translation>Cannot connect to %1 (%2).</translation>
    </message>
    <message>
        <source>大きすぎます</source>
        <translation>it is too large</translation>
    </message>
    <message>
        <source>%1 が問い合わせを断りました（HTTP %2）。しばらく待ってからもう一度試してください。</source>
        <translation>%1 refused the lookup (HTTP %2). Wait a while and try again.</translation>
    </message>
    <message>
        <source>%1 が問い合わせを断りました（HTTP %2）。</source>
        <translation>%1 refused the lookup (HTTP %2).</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>はい(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>いいえ(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
</context>
<context>
    <name>OutputFile</name>
    <message>
        <source>フォルダです</source>
        <translation>is a folder</translation>
    </message>
</context>
<context>
    <name>OwnedFiles</name>
    <message>
        <source>シンボリックリンクです</source>
        <translation>is a symbolic link</translation>
    </message>
    <message>
        <source>普通のファイルではありません</source>
        <translation>is not a regular file</translation>
    </message>
</context>
<context>
    <name>PaperNames</name>
    <message>
        <source>ハガキ</source>
        <translation>Postcard</translation>
    </message>
</context>
<context>
    <name>PdfExport</name>
    <message>
        <source>PDF を書き始められません</source>
        <translation>cannot start the PDF</translation>
    </message>
    <message>
        <source>PDF の次のページを始められません</source>
        <translation>cannot start a new page</translation>
    </message>
    <message>
        <source>PDF を書き終えられません</source>
        <translation>cannot finish the PDF</translation>
    </message>
</context>
<context>
    <name>Pelora</name>
    <message>
        <source>ペロラ</source>
        <translation>Pelora</translation>
    </message>
</context>
<context>
    <name>RecoveryKeeper</name>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>保存されずに終わった「%1」の内容が残っています（%2 時点）。
復元しますか？</source>
        <translation>Unsaved changes to &quot;%1&quot; were left by an earlier run (as of %2).
Restore them?</translation>
    </message>
    <message>
        <source>保存されずに終わった「%1」の内容も残っています（%2 時点）。
新しいウィンドウで復元しますか？</source>
        <translation>Unsaved changes to &quot;%1&quot; were also left by an earlier run (as of %2).
Restore them in a new window?</translation>
    </message>
    <message>
        <source>新しいウィンドウで復元する(&amp;R)</source>
        <translation>&amp;Restore in a New Window</translation>
    </message>
    <message>
        <source>復元する(&amp;R)</source>
        <translation>&amp;Restore</translation>
    </message>
    <message>
        <source>破棄する(&amp;D)</source>
        <translation>&amp;Discard</translation>
    </message>
</context>
<context>
    <name>RegularFile</name>
    <message>
        <source>ありません</source>
        <translation>it does not exist</translation>
    </message>
    <message>
        <source>フォルダです</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>普通のファイルではありません</source>
        <translation>it is not a regular file</translation>
    </message>
    <message>
        <source>大きすぎます</source>
        <translation>it is too large</translation>
    </message>
    <message>
        <source>読めません</source>
        <translation>it cannot be read</translation>
    </message>
</context>
<context>
    <name>TDestinationDialog</name>
    <message>
        <source>プリンタ: </source>
        <translation>Printer: </translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>設定ファイル Pelora.ini に書き込めませんでした（%1）。</source>
        <translation>Could not write the settings file Pelora.ini (%1).</translation>
    </message>
</context>
<context>
    <name>TDiscAreaForm</name>
    <message>
        <source>プリンタブルディスクの印刷範囲</source>
        <translation>Printable Disc Area</translation>
    </message>
    <message>
        <source>ディスクの袋や説明書にある印刷可能範囲の直径です。</source>
        <translation>The diameters of the printable area, as given on the disc&apos;s package or in its instructions.</translation>
    </message>
    <message>
        <source>外径</source>
        <translation>Outer diameter</translation>
    </message>
    <message>
        <source>内径</source>
        <translation>Inner diameter</translation>
    </message>
</context>
<context>
    <name>TDiscImportForm</name>
    <message>
        <source>CDから曲目を読み込む</source>
        <translation>Import from CD</translation>
    </message>
    <message>
        <source>読み込むディスク</source>
        <translation>Disc to read</translation>
    </message>
    <message>
        <source>ディスクイメージ(&amp;I)…</source>
        <translation>Disc &amp;Image…</translation>
    </message>
    <message>
        <source>今のジャケットと置き換える(&amp;R)</source>
        <translation>&amp;Replace the jacket</translation>
    </message>
    <message>
        <source>今の内容の後に加える(&amp;A)</source>
        <translation>&amp;Add after the current items</translation>
    </message>
    <message>
        <source>読み込む</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ディスクイメージ(*.cue *.toc *.nrg)</source>
        <translation>Disc images (*.cue *.toc *.nrg)</translation>
    </message>
    <message>
        <source>全てのファイル(*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>ディスクイメージを選ぶ</source>
        <translation>Choose Disc Image</translation>
    </message>
    <message>
        <source>CD-TEXT があっても MusicBrainz で曲名を調べる(&amp;M)</source>
        <translation>Look up the titles on &amp;MusicBrainz even if the disc has CD-TEXT</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>文字や背表紙、表紙の画像の一部が、このプリンタの印刷できる範囲の外にかかっています。その部分は印刷されません。</source>
        <translation>Part of the text, the spine or the cover picture lies outside the area this printer can print. That part will not be printed.</translation>
    </message>
    <message>
        <source>「クイックオプション」の「印刷位置の調整」で位置をずらすか、「表と裏を1枚に印刷」をお使いください。</source>
        <translation>Move the print with Quick Options &gt; Print Position, or use File &gt; Print Both on One Sheet.</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>新規作成(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>開く(&amp;O)</source>
        <translation>&amp;Open…</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)</source>
        <translation>Save &amp;As…</translation>
    </message>
    <message>
        <source>表紙の画像を選ぶ(&amp;I)…</source>
        <translation>Choose Cover P&amp;icture…</translation>
    </message>
    <message>
        <source>表紙の画像を外す(&amp;R)</source>
        <translation>&amp;Remove Cover Picture</translation>
    </message>
    <message>
        <source>プリンタ設定(&amp;U)</source>
        <translation>Printer Set&amp;up…</translation>
    </message>
    <message>
        <source>用紙の選択(&amp;L)…</source>
        <translation>&amp;Choose Paper…</translation>
    </message>
    <message>
        <source>プリンタブルディスクの印刷範囲(&amp;D)…</source>
        <translation>Printable &amp;Disc Area…</translation>
    </message>
    <message>
        <source>プレビュー(&amp;V)</source>
        <translation>Pre&amp;view</translation>
    </message>
    <message>
        <source>印刷(&amp;P)</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>表と裏を1枚でプレビュー(&amp;B)</source>
        <translation>Preview &amp;Both on One Sheet</translation>
    </message>
    <message>
        <source>表と裏を1枚に印刷(&amp;W)</source>
        <translation>Print Both on One S&amp;heet</translation>
    </message>
    <message>
        <source>レーベルをプレビュー(&amp;E)</source>
        <translation>Pr&amp;eview Disc Label</translation>
    </message>
    <message>
        <source>レーベルを印刷(&amp;K)</source>
        <translation>Print Disc &amp;Label</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>編集モード切替(&amp;M)</source>
        <translation>Switch &amp;Mode</translation>
    </message>
    <message>
        <source>白紙の一行を追加(&amp;B)</source>
        <translation>Add &amp;Blank Line</translation>
    </message>
    <message>
        <source>削除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>全て削除(&amp;A)</source>
        <translation>Delete &amp;All</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>やり直し(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>クイックオプション(&amp;Q)</source>
        <translation>&amp;Quick Options</translation>
    </message>
    <message>
        <source>ファイル追加時に拡張子を除く(&amp;E)</source>
        <translation>Strip File &amp;Extensions When Adding</translation>
    </message>
    <message>
        <source>ファイル追加時にタグ情報を取得(&amp;T)</source>
        <translation>Read &amp;Tags When Adding Files</translation>
    </message>
    <message>
        <source>印刷時に番号を付ける(&amp;N)</source>
        <translation>&amp;Number Items When Printing</translation>
    </message>
    <message>
        <source>アルバムアートを表紙に使う(&amp;A)</source>
        <translation>Use &amp;Album Art as Cover</translation>
    </message>
    <message>
        <source>切り取りの目印(&amp;K)</source>
        <translation>Cut Mar&amp;ks</translation>
    </message>
    <message>
        <source>切り取り線(&amp;D)</source>
        <translation>&amp;Cut Lines</translation>
    </message>
    <message>
        <source>トンボ(&amp;C)</source>
        <translation>C&amp;rop Marks</translation>
    </message>
    <message>
        <source>なし(&amp;N)</source>
        <translation>&amp;None</translation>
    </message>
    <message>
        <source>印刷位置の調整(&amp;C)…</source>
        <translation>Print &amp;Position…</translation>
    </message>
    <message>
        <source>オプション(&amp;O)</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)</source>
        <translation>&amp;About Pelora</translation>
    </message>
    <message>
        <source>タイトル</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>内容</source>
        <translation>Items</translation>
    </message>
    <message>
        <source>フォントサイズ</source>
        <translation>Font size</translation>
    </message>
    <message>
        <source>ジャケット面</source>
        <translation>Face</translation>
    </message>
    <message>
        <source>表</source>
        <translation>Front</translation>
    </message>
    <message>
        <source>裏</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>印刷部数</source>
        <translation>Copies</translation>
    </message>
    <message>
        <source>編集モード切替</source>
        <translation>Switch mode</translation>
    </message>
    <message>
        <source>白紙の１行を追加</source>
        <translation>Add blank line</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>全て削除</source>
        <translation>Delete all</translation>
    </message>
    <message>
        <source>プレビュー</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>印刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>初期化に失敗しました</source>
        <translation>Could not start the audio file reader.</translation>
    </message>
    <message>
        <source>無題.plr</source>
        <translation>Untitled.plr</translation>
    </message>
    <message>
        <source>解放に失敗しました</source>
        <translation>Could not close the audio file reader.</translation>
    </message>
    <message>
        <source>エディタモード</source>
        <translation>Editor mode</translation>
    </message>
    <message>
        <source>リストモード</source>
        <translation>List mode</translation>
    </message>
    <message>
        <source> - 表紙画像あり</source>
        <translation> - with cover picture</translation>
    </message>
    <message>
        <source>内容に何も無いときは印刷できません</source>
        <translation>There are no items to print.</translation>
    </message>
    <message>
        <source>紙が小さすぎます。</source>
        <translation>The paper is too small.</translation>
    </message>
    <message>
        <source>フォントサイズをどんなに小さくしてもはみ出してしまいますので処理を中止します</source>
        <translation>The text does not fit even at the smallest font size, so printing has been stopped.</translation>
    </message>
    <message>
        <source>選択したテキストを削除します。よろしいですか？</source>
        <translation>Delete the selected text?</translation>
    </message>
    <message>
        <source>選択したアイテムを削除します。よろしいですか？</source>
        <translation>Delete the selected items?</translation>
    </message>
    <message>
        <source>タイトルと内容の全てを削除します。よろしいですか？</source>
        <translation>Delete the title and all items?</translation>
    </message>
    <message>
        <source>上へ移動</source>
        <translation>Move up</translation>
    </message>
    <message>
        <source>下へ移動</source>
        <translation>Move down</translation>
    </message>
    <message>
        <source>移動</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>1行の編集</source>
        <translation>Edit line</translation>
    </message>
    <message>
        <source>ペロラ用ファイル(*.plr)</source>
        <translation>Pelora files (*.plr)</translation>
    </message>
    <message>
        <source>全てのファイル(*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>リストのインデックスが範囲を超えています (0)</source>
        <translation>List index out of bounds (0)</translation>
    </message>
    <message>
        <source>変更を保存しますか？</source>
        <translation>Save the changes?</translation>
    </message>
    <message>
        <source>画像ファイル(*.jpg *.jpeg *.png *.webp *.bmp *.gif)</source>
        <translation>Image files (*.jpg *.jpeg *.png *.webp *.bmp *.gif)</translation>
    </message>
    <message>
        <source>画像 %1 は大きすぎて表紙にできません。</source>
        <translation>The picture %1 is too large to be the cover picture.</translation>
    </message>
    <message>
        <source>表紙の画像だった %1 を削除できませんでした。次に開くとき表紙として使われます。</source>
        <translation>Could not delete %1, the old cover picture. It will be used as the cover picture the next time the jacket is opened.</translation>
    </message>
    <message>
        <source>ファイルの追加</source>
        <translation>Add files</translation>
    </message>
    <message>
        <source>現在のフォントサイズだとはみ出してしまうので小さくします </source>
        <translation>The text does not fit at the current font size, so it will be made smaller.</translation>
    </message>
    <message>
        <source>プリンタを見つけられませんでした</source>
        <translation>No printer was found</translation>
    </message>
    <message>
        <source>縦</source>
        <translation>portrait</translation>
    </message>
    <message>
        <source>横</source>
        <translation>landscape</translation>
    </message>
    <message>
        <source>、用紙: </source>
        <translation>, paper: </translation>
    </message>
    <message>
        <source>印刷先: </source>
        <translation>Printer: </translation>
    </message>
    <message>
        <source>用紙「%1」には表と裏を1枚に印刷する場所がありません。「ファイル」の「用紙の選択」で用紙を選び直してください。</source>
        <translation>The paper &quot;%1&quot; has no room to print the front and back on one sheet. Choose another paper in File &gt; Choose Paper.</translation>
    </message>
    <message>
        <source>用紙「%1」には表を印刷する場所がありません。「ファイル」の「用紙の選択」で用紙を選び直してください。</source>
        <translation>The paper &quot;%1&quot; has no room to print the front. Choose another paper in File &gt; Choose Paper.</translation>
    </message>
    <message>
        <source>用紙「%1」には裏を印刷する場所がありません。「ファイル」の「用紙の選択」で用紙を選び直してください。</source>
        <translation>The paper &quot;%1&quot; has no room to print the back. Choose another paper in File &gt; Choose Paper.</translation>
    </message>
    <message>
        <source>用紙「%1」にはレーベルを印刷する場所がありません。「ファイル」の「用紙の選択」で用紙を選び直してください。</source>
        <translation>The paper &quot;%1&quot; has no room to print the disc label. Choose another paper in File &gt; Choose Paper.</translation>
    </message>
    <message>
        <source>用紙「%1」は %2 の紙ですが、プリンタの用紙は %3 です。ラベルの位置に印刷されません。</source>
        <translation>The paper &quot;%1&quot; is %2, but the printer&apos;s paper is %3. The print will not line up with the labels.</translation>
    </message>
    <message>
        <source>「プリンタ設定」で用紙を合わせてください。</source>
        <translation>Set the matching paper in Printer Setup.</translation>
    </message>
    <message>
        <source>お使いのプリンタが最大印刷部数を提供してくれませんでした。</source>
        <translation>The printer did not tell how many copies it can print at most.</translation>
    </message>
    <message>
        <source>%1の部数設定は破棄し、プリンタ側の部数設定で印刷します。</source>
        <translation>%1 will ignore its own copies setting and print with the printer&apos;s copies setting.</translation>
    </message>
    <message>
        <source>印刷中</source>
        <translation>Pelora jacket</translation>
    </message>
    <message>
        <source>表紙の画像を %1 に保存できないので、文書も保存していません（%2）。</source>
        <translation>The cover picture cannot be saved as %1, so the document was not saved either (%2).</translation>
    </message>
    <message>
        <source>文書 %1 の名前は .plr で終わらないので、表紙の画像はいっしょに保存されません。表紙の画像も残すには、「名前を付けて保存」で .plr で終わる名前を付けてください。</source>
        <translation>The name of the document %1 does not end in .plr, so its cover picture is not saved with it. To keep the cover picture too, use Save As with a name that ends in .plr.</translation>
    </message>
    <message>
        <source>新しいウィンドウを開けません。残った内容は次に起動したときにまた尋ねます。</source>
        <translation>Cannot open a new window. You will be asked about the unsaved changes again at the next start.</translation>
    </message>
    <message>
        <source>このプリンタに選んである用紙「%1」が、ラベル用紙のデータベースに見つかりません（削除されたか、名前が変わったか、データベースが入っていません）。</source>
        <translation>The paper &quot;%1&quot; chosen for this printer is not in the label database (it was removed or renamed, or the database is not installed).</translation>
    </message>
    <message>
        <source>普通紙に印刷しないよう、ここで止めます。「ファイル」の「用紙の選択」で用紙を選び直してください（普通紙に印刷するときは「普通紙」を選びます）。</source>
        <translation>Stopped here rather than print on plain paper. Choose the paper again with File &gt; Choose Paper (choose Plain paper to print on plain paper).</translation>
    </message>
    <message>
        <source>次に印刷するラベルの位置を設定ファイル Pelora.ini に書き込めませんでした（%1）。次に印刷する前に「用紙の選択」で位置を確かめてください。</source>
        <translation>The position of the next label could not be written to the settings file Pelora.ini (%1). Check the position with Choose Paper before the next print.</translation>
    </message>
    <message>
        <source>%1 は表紙にできる画像ではありません（%2）。</source>
        <translation>%1 cannot be the cover picture (%2).</translation>
    </message>
    <message>
        <source>表紙の画像 %1 を使えないので、表紙の画像なしで開きます（%2）。</source>
        <translation>Cannot use the cover picture %1. The jacket opens without a cover picture (%2).</translation>
    </message>
    <message>
        <source>ファイル %1 はジャケットの文書ではありません（%2）。</source>
        <translation>The file %1 is not a jacket document (%2).</translation>
    </message>
    <message>
        <source>このプリンタのディスクトレイに印刷できるのは、直径 %1 mm までです。プリンタブルディスクの印刷範囲（外径 %2 mm）の外側は印刷されません。</source>
        <translation>This printer&apos;s disc tray prints discs up to %1 mm across. The part of the printable disc area (outer diameter %2 mm) beyond that is not printed.</translation>
    </message>
    <message>
        <source>「ファイル」の「プリンタブルディスクの印刷範囲」で、外径を %1 mm 以下にしてください。</source>
        <translation>Set the outer diameter to %1 mm or less in File &gt; Printable Disc Area.</translation>
    </message>
    <message>
        <source>印刷する(&amp;P)</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>やめる(&amp;C)</source>
        <translation>&amp;Don&apos;t Print</translation>
    </message>
    <message>
        <source>ファイル %1 は開けません（%2）。</source>
        <translation>Cannot open the file %1 (%2).</translation>
    </message>
    <message>
        <source>ファイル %1 を作成できません（%2）。</source>
        <translation>Cannot create the file %1 (%2).</translation>
    </message>
    <message>
        <source>保存する(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>保存しない(&amp;N)</source>
        <translation>Do&amp;n&apos;t Save</translation>
    </message>
    <message>
        <source>キャンセル(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>表紙の画像を選ぶ</source>
        <translation>Choose Cover Picture</translation>
    </message>
    <message>
        <source>マニュアル(&amp;M)</source>
        <translation>&amp;Manual</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message numerus="yes">
        <source>%n 曲</source>
        <translation>
            <numerusform>%n track</numerusform>
            <numerusform>%n tracks</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 — %2（%3）</source>
        <translation>%1 — %2 (%3)</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>ディスクを読んでいます…</source>
        <translation>Reading the disc…</translation>
    </message>
    <message>
        <source>%1 から曲目を読み込めません（%2）。</source>
        <translation>Cannot read the tracks from %1 (%2).</translation>
    </message>
    <message>
        <source>MusicBrainz で調べています…</source>
        <translation>Looking up on MusicBrainz…</translation>
    </message>
    <message>
        <source>リリースの選択</source>
        <translation>Choose Release</translation>
    </message>
    <message>
        <source>このディスクのリリース:</source>
        <translation>Releases with this disc:</translation>
    </message>
    <message>
        <source>表紙の画像を Cover Art Archive の画像に替えますか？</source>
        <translation>Replace the cover picture with the Cover Art Archive&apos;s?</translation>
    </message>
    <message>
        <source>表紙の画像を読み込んでいます…</source>
        <translation>Loading the cover picture…</translation>
    </message>
    <message>
        <source>表紙の画像は読み込めませんでした（%1）。</source>
        <translation>The cover picture could not be loaded (%1).</translation>
    </message>
    <message>
        <source>CDから読み込む</source>
        <translation>Import from CD</translation>
    </message>
    <message>
        <source>設定ファイル Pelora.ini に書き込めませんでした（%1）。</source>
        <translation>Could not write the settings file Pelora.ini (%1).</translation>
    </message>
    <message>
        <source>送る(&amp;S)</source>
        <translation>&amp;Send</translation>
    </message>
    <message>
        <source>送らない(&amp;N)</source>
        <translation>Do&amp;n&apos;t Send</translation>
    </message>
    <message>
        <source>CDから曲目を読み込む(&amp;T)…</source>
        <translation>Impor&amp;t from CD…</translation>
    </message>
    <message>
        <source>MusicBrainz で曲名を調べる(&amp;M)</source>
        <translation>Look Up Titles on &amp;MusicBrainz</translation>
    </message>
    <message>
        <source>曲名を調べるため、ディスクの識別子と曲の長さを MusicBrainz（%1）に送ります。よろしいですか？</source>
        <translation>To look up the titles, the disc&apos;s identifier and track lengths will be sent to MusicBrainz (%1). Go ahead?</translation>
    </message>
    <message>
        <source>この答えは覚えておき、「クイックオプション」の「MusicBrainz で曲名を調べる」で変えられます。</source>
        <translation>This answer is remembered; change it with Quick Options &gt; Look Up Titles on MusicBrainz.</translation>
    </message>
    <message>
        <source>帯は普通紙にだけ印刷できます。用紙「%1」には帯を印刷する場所がありません。「ファイル」の「用紙の選択」で普通紙を選んでください。</source>
        <translation>The obi strip prints on plain paper only: the paper &quot;%1&quot; has no place for it. Choose plain paper in File &gt; Choose Paper.</translation>
    </message>
    <message>
        <source>帯をプレビュー(&amp;G)</source>
        <translation>Previe&amp;w Obi Strip</translation>
    </message>
    <message>
        <source>帯を印刷(&amp;H)</source>
        <translation>Print Obi S&amp;trip</translation>
    </message>
</context>
<context>
    <name>TFormOP</name>
    <message>
        <source>印刷失敗ブルース</source>
        <translation>Paper Jam Blues</translation>
    </message>
    <message>
        <source>モノクロプリンターズ</source>
        <translation>The Mono Printers</translation>
    </message>
    <message>
        <source>オプション</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>ファイル追加時に拡張子を除く</source>
        <translation>Strip file extensions when adding files</translation>
    </message>
    <message>
        <source>印刷時に番号を付ける</source>
        <translation>Print item numbers</translation>
    </message>
    <message>
        <source>削除する時に確認する</source>
        <translation>Confirm deleting</translation>
    </message>
    <message>
        <source>全て削除する時に確認する</source>
        <translation>Confirm deleting all</translation>
    </message>
    <message>
        <source>ファイル追加時にタグ情報を取得する（ファイル名は捨てます）</source>
        <translation>Read tags when adding files (instead of file names)</translation>
    </message>
    <message>
        <source>曲長を付ける</source>
        <translation>Add track length</translation>
    </message>
    <message>
        <source>アーティスト情報を付ける</source>
        <translation>Add artist</translation>
    </message>
    <message>
        <source>アーティスト情報の前に付ける文字列</source>
        <translation>Text before the artist</translation>
    </message>
    <message>
        <source>サンプル</source>
        <translation>Sample</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>側面の文字の方向</source>
        <translation>Spine text direction</translation>
    </message>
    <message>
        <source>縱</source>
        <translation>Vertical</translation>
    </message>
    <message>
        <source>横&#x3000;（推奨）</source>
        <translation>Horizontal (recommended)</translation>
    </message>
</context>
<context>
    <name>TInputForm</name>
    <message>
        <source>入力してください</source>
        <translation>Enter the text</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>簡易編集ボックス</source>
        <translation>Quick edit</translation>
    </message>
    <message>
        <source>%1番目のアイテムを編集します</source>
        <translation>Editing item %1</translation>
    </message>
</context>
<context>
    <name>TPaperForm</name>
    <message>
        <source>表</source>
        <translation>front</translation>
    </message>
    <message>
        <source>裏</source>
        <translation>back</translation>
    </message>
    <message>
        <source>レーベル</source>
        <translation>disc label</translation>
    </message>
    <message>
        <source>・</source>
        <translation> + </translation>
    </message>
    <message>
        <source>%1 — %2（%3、%4）</source>
        <translation>%1 — %2 (%3, %4)</translation>
    </message>
    <message>
        <source>用紙の選択</source>
        <translation>Choose Paper</translation>
    </message>
    <message>
        <source>メーカー、品番、説明で検索</source>
        <translation>Search by brand, part number or description</translation>
    </message>
    <message>
        <source>普通紙</source>
        <translation>Plain paper</translation>
    </message>
    <message>
        <source>次に表を印刷する位置</source>
        <translation>Next front position</translation>
    </message>
    <message>
        <source>次に裏を印刷する位置</source>
        <translation>Next back position</translation>
    </message>
    <message>
        <source>次にレーベルを印刷する位置</source>
        <translation>Next disc label position</translation>
    </message>
    <message>
        <source>選んであった用紙「%1」はラベル用紙のデータベースにありません。用紙を選び直してください。</source>
        <translation>The paper &quot;%1&quot; chosen before is not in the label database. Choose the paper again.</translation>
    </message>
</context>
<context>
    <name>TPreVForm</name>
    <message>
        <source>印刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>戻る</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>プレビュー</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>文字が小さくなりすぎて印刷不可能です。</source>
        <translation>The text would be too small to print.</translation>
    </message>
    <message>
        <source>文字が小さすぎてプレビュー不可能です。</source>
        <translation>The text is too small to preview.</translation>
    </message>
    <message>
        <source>印刷は可能ですがおすすめできません。</source>
        <translation>It can be printed, but that is not recommended.</translation>
    </message>
</context>
<context>
    <name>TPrintPositionForm</name>
    <message>
        <source>印刷位置の調整</source>
        <translation>Print Position</translation>
    </message>
    <message>
        <source>＋の値で右・下へ、−の値で左・上へ動きます。
倍率は用紙の左上の角を中心に拡大・縮小します。</source>
        <translation>Positive values move right and down, negative left and up.
Scaling works from the paper&apos;s top left corner.</translation>
    </message>
    <message>
        <source>調整用ページを印刷</source>
        <translation>Print test page</translation>
    </message>
    <message>
        <source>横の位置</source>
        <translation>Horizontal offset</translation>
    </message>
    <message>
        <source>縦の位置</source>
        <translation>Vertical offset</translation>
    </message>
    <message>
        <source>倍率</source>
        <translation>Scale</translation>
    </message>
</context>
<context>
    <name>TQdPrinter</name>
    <message>
        <source>印刷システム (CUPS) から応答がありません。CUPS が動いているか確かめてから、もう一度お試しください。(%1)</source>
        <translation>The printing system (CUPS) does not answer. Check that CUPS is running, then try again. (%1)</translation>
    </message>
    <message>
        <source>プリンタ「%1」が見つかりません。「プリンタ設定」でプリンタを選び直してください。(%2)</source>
        <translation>Printer &quot;%1&quot; cannot be found. Choose a printer again in &quot;Printer Setup&quot;. (%2)</translation>
    </message>
    <message>
        <source>プリンタ「%1」は印刷を受け付けていません。プリンタの状態を確かめるか、「プリンタ設定」で別のプリンタを選んでください。</source>
        <translation>Printer &quot;%1&quot; is not accepting jobs. Check the printer, or choose another one in &quot;Printer Setup&quot;.</translation>
    </message>
    <message>
        <source>プリンタクラス「%1」には印刷を受け付けるプリンタがありません。CUPS でクラスにプリンタを加えるか、「プリンタ設定」で別のプリンタを選んでください。</source>
        <translation>Printer class &quot;%1&quot; has no printer that accepts jobs. Add a printer to the class in CUPS, or choose another printer in &quot;Printer Setup&quot;.</translation>
    </message>
    <message>
        <source>既定のプリンタが決まっていません。「プリンタ設定」で印刷に使うプリンタを選んでください。</source>
        <translation>No default printer is set. Choose the printer to print on in &quot;Printer Setup&quot;.</translation>
    </message>
    <message>
        <source>プリンタ「%1」が印刷を受け付けませんでした。プリンタの状態を確かめるか、「プリンタ設定」で別のプリンタを選んでください。(%2)</source>
        <translation>Printer &quot;%1&quot; did not accept the job. Check the printer, or choose another one in &quot;Printer Setup&quot;. (%2)</translation>
    </message>
</context>
<context>
    <name>TQdPrinterSetupDialog</name>
    <message>
        <source>プリンタの設定</source>
        <translation>Printer Setup</translation>
    </message>
</context>
<context>
    <name>TVerform</name>
    <message>
        <source>バージョン情報</source>
        <translation>About Pelora</translation>
    </message>
    <message>
        <source>マニュアル %1 が見つかりません。</source>
        <translation>The manual %1 cannot be found.</translation>
    </message>
    <message>
        <source>マニュアル %1 を開けません。</source>
        <translation>Cannot open the manual %1.</translation>
    </message>
    <message>
        <source>%1 で配布しています。
保証はありません。</source>
        <translation>%1,
without any warranty</translation>
    </message>
</context>
</TS>
