// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the command line is documented with, in Japanese and English:
// usage() prints it for --help, and data/manpage.cpp makes the manual pages
// pelora(1) from it at build time, so that the two never disagree.
//
// Texts hold their line breaks as --help prints them; the manual pages fill
// the lines anew, running Japanese lines on without a space unless a Latin
// word meets the break. In synopses and option names, {DOC}, {OUT},
// {QUEUE} and {DISC} stand for what the user gives (named per language);
// N stays N.

#include <array>
#include <string>

namespace CommandLineHelp {

struct Text
{
    const char *ja;
    const char *en;
};

struct Placeholder
{
    const char *key;
    Text name;
};

inline constexpr std::array kPlaceholders{
    Placeholder{"{DOC}", {"文書.plr", "DOCUMENT.plr"}},
    Placeholder{"{OUT}", {"出力.pdf", "OUTPUT.pdf"}},
    Placeholder{"{QUEUE}", {"名前", "QUEUE"}},
    Placeholder{"{DISC}", {"ディスク", "SOURCE"}},
};

// The text with its placeholders named in Japanese or English.
inline std::string withNames(std::string text, bool japanese)
{
    for (const Placeholder &placeholder : kPlaceholders) {
        const std::string key = placeholder.key;
        for (auto at = text.find(key); at != std::string::npos; at = text.find(key, at))
            text.replace(at, key.size(), japanese ? placeholder.name.ja : placeholder.name.en);
    }
    return text;
}

// One way to run the program: "pelora", the command, the rest of its
// arguments (a line break where --help breaks the line), what it does.
struct Form
{
    const char *command;
    const char *arguments;
    Text what;
};

inline constexpr std::array kForms{
    Form{"[{DOC}]", "",
         {"ウィンドウを開きます（文書を指定するとそれを開きます）。",
          "Opens the window, with the document when one is named."}},
    Form{"--export-pdf {OUT}",
         "[--side front|back|both|label|obi] [--one-sheet] [--marks dashed|crop|none]\n"
         "[--product \"BRAND PART\"]\n"
         "[--vertical-spine] [--no-numbers] [--title-size N] [--item-size N] {DOC}",
         {"ジャケットを PDF に書き出します。既定のプリンタの用紙に実寸で、\n"
          "1 ページに 1 面ずつ（both は表、裏の順）。プリンタが無ければ A4。\n"
          "出力が - なら標準出力へ。.plr の名前や文書そのものには書きません。",
          "Writes the jacket to a PDF at its real size on the default printer's\n"
          "sheet (A4 without a printer), one face per page; both (the default)\n"
          "gives the front, then the back. An output of - is standard output;\n"
          "a name ending in .plr, or the document itself, is refused."}},
    Form{"--print {DOC}",
         "[--side front|back|label|obi|both --one-sheet] [--printer {QUEUE}]\n"
         "[--copies N] [--marks dashed|crop|none] [--product \"BRAND PART\"]\n"
         "[--vertical-spine] [--no-numbers]\n"
         "[--title-size N] [--item-size N]",
         {"ウィンドウを出さずに印刷します（既定は表面、1 部）。",
          "Prints without the window (the front face, one copy, by default)."}},
    Form{"--import-cd {DISC} {DOC}", "[--lookup]",
         {"ドライブ（/dev/sr0 など）のディスクか、ディスクイメージ（.cue と .bin、\n"
          "cdrdao の .toc、.nrg）の曲目を CD-TEXT から読み、ジャケットの文書に\n"
          "書き出します。文書の名前は .plr で終わります。",
          "Reads the track list of the disc in a drive (such as /dev/sr0) or of\n"
          "a disc image (.cue with its .bin, cdrdao .toc, .nrg) from its CD-TEXT\n"
          "and writes it as a jacket document, whose name ends in .plr."}},
    Form{"--help | --version", "",
         {"この説明またはバージョンを表示します。",
          "Prints this help or the version."}},
};

// An option: its name and argument, a short line for --help and the
// sentences of the manual page.
struct Option
{
    const char *name;
    Text brief;
    Text manual;
};

inline constexpr std::array kOptions{
    Option{"--side front|back|both|label|obi",
           {"面 (表 / 裏 / 両方 / レーベル / 帯)", "the face(s), the disc label or the obi"},
           {"書き出す面、印刷する面: 表 (front)、裏 (back)、両方 (both)、ディスクのレーベル (label)、"
            "ケースの左端に巻く帯 (obi、普通紙だけ)。"
            "既定は --export-pdf では both、--print では front です。",
            "The face to export or print: front, back, both, the disc's own label (label), "
            "or the obi strip wrapped round the case's left edge (obi, plain paper only). "
            "The default is both for --export-pdf and front for --print."}},
    Option{"--one-sheet",
           {"表と裏を1枚に (--side both と)", "both faces on one sheet"},
           {"--side both のとき、表と裏を 1 枚の用紙に並べます"
            "（ウィンドウの ファイル → 表と裏を1枚に印刷 と同じ）。",
            "With --side both, puts both faces on one sheet, as "
            "File → Print Both on One Sheet does in the window."}},
    Option{"--marks dashed|crop|none",
           {"切り取りの目印 (切り取り線 / トンボ / なし)", "cut marks (default: the settings, dashed)"},
           {"普通紙に付ける切り取りの目印: 破線の切り取り線 (dashed)、トンボ (crop、"
            "面の外の四隅と背の折り目の位置。表紙の画像は 2 mm 外まで塗り足します)、なし (none)。"
            "既定は設定の値（初期値 dashed）です。",
            "How plain paper shows where to cut: dashed cut lines (dashed), Japanese-style "
            "crop marks outside each corner and at the back's folds, with a cover picture "
            "reaching 2 mm beyond the cut (crop), or nothing (none). By default the one in "
            "the settings (dashed at first)."}},
    Option{"--product \"BRAND PART\"",
           {"切り込み入りの用紙 (例 \"Avery 8435B\")", "a pre-cut product, e.g. \"Avery 8435B\""},
           {"ラベル用紙のデータベース（glabels-data）にある切り込み入りのジャケット用紙に印刷します。"
            "各面はその用紙の最初の位置に実寸で置かれ、切り取り線は付きません。"
            "書き出す PDF はその用紙の大きさになります。知らない用紙や、面に合うラベルの無い用紙は"
            "近い名前を挙げて終了コード 2 で終わります。既定は、--print ではプリンタごとに"
            "「用紙の選択」で選んだ用紙、--export-pdf では普通紙です。",
            "Prints on a pre-cut jacket paper of the label database (glabels-data): each "
            "face at its real size in the product's first place for it, with no cut lines; "
            "an export gets the product's sheet size. An unknown product, or one without a "
            "label for the face, ends with status 2 and the closest names. By default "
            "--print uses the paper chosen for the printer in the window (File → Choose Paper) "
            "and --export-pdf plain paper."}},
    Option{"--vertical-spine",
           {"背の文字を縦書きに", "spine title in a column of upright characters"},
           {"背のタイトルを縦書きにします（文字を立てて縦に並べます）。",
            "Sets the title on the spines as a column of upright characters."}},
    Option{"--no-numbers",
           {"項目に番号を付けない", "items without numbers"},
           {"項目に番号を付けません。", "Leaves the items without numbers."}},
    Option{"--title-size N",
           {"タイトルの文字サイズ", "title font size (default: the settings, 17)"},
           {"タイトルの文字サイズ。既定は設定の値（初期値 17）です。",
            "The title's font size; by default the one in the settings (17 at first)."}},
    Option{"--item-size N",
           {"内容の文字サイズ", "item font size (default: the settings, 14)"},
           {"内容（曲目）の文字サイズ。既定は設定の値（初期値 14）です。",
            "The items' font size; by default the one in the settings (14 at first)."}},
    Option{"--printer {QUEUE}",
           {"印刷するプリンタ", "the CUPS queue, class or queue/instance\n(default: the default printer)"},
           {"印刷する CUPS のキュー、クラス、またはキュー/インスタンス。既定は既定のプリンタです。",
            "The CUPS queue, class or queue/instance to print on; "
            "by default the default printer."}},
    Option{"--copies N",
           {"印刷部数 (1〜999)", "number of copies (1 to 999)"},
           {"印刷する部数、1 から 999 まで（既定は 1）。プリンタが一度に受け付ける部数を超えるときは"
            "いくつかのジョブに分けて送ります。",
            "The number of copies, 1 to 999 (1 by default), sent in as many jobs as the "
            "printer's copy limit needs."}},
    Option{"--lookup",
           {"CD-TEXT が無ければ MusicBrainz で調べる", "look a disc without CD-TEXT up on MusicBrainz"},
           {"--import-cd で、ディスクに CD-TEXT の曲名が無いとき、ディスクの識別子と曲の長さを "
            "MusicBrainz に送って曲目を調べ、表紙の画像を Cover Art Archive から取ってきます。"
            "このオプションを付けることが送ることへの同意です（何も尋ねず、設定にも残しません）。"
            "付けなければ、何もこのコンピュータの外に出ません。MusicBrainz にディスクが無ければ"
            "ディスクの曲目だけで、表紙の画像が取れなければ表紙の画像なしで書き出し、"
            "そのことを標準エラーに出します。問い合わせができなかったときは何も書かずに終了コード 1 で終わります。",
            "With --import-cd, when the disc has no CD-TEXT titles, sends its disc id and "
            "track lengths to MusicBrainz for the track list and fetches the release's "
            "front cover from the Cover Art Archive. Giving the option is the consent to "
            "send them (nothing is asked, nothing stored); without it nothing leaves the "
            "machine. A disc MusicBrainz does not know is written from the disc alone, "
            "and a cover that cannot be fetched is left out, each told on standard error; "
            "a lookup that fails ends with status 1 and writes nothing."}},
    Option{"-h, --help",
           {"この説明", "this help"},
           {"使い方を表示して終わります。", "Prints the usage and exits."}},
    Option{"-v, --version",
           {"バージョン", "the version"},
           {"バージョンを表示して終わります。", "Prints the version and exits."}},
};

inline constexpr Text kSettings{
    "文字サイズ、番号の有無、番号の後の文字、切り取りの目印、--import-cd が行に付ける\n"
    "演奏時間とアーティストは、ウィンドウと同じく Pelora.ini と Pelora.dat から読みます。\n"
    "コマンドが設定を変えることはありません。",
    "The settings (font sizes, numbering, number suffix, cut marks, and the time and\n"
    "artist that --import-cd adds to its lines) come from Pelora.ini and Pelora.dat as\n"
    "in the window; a command never changes them."};

struct ExitStatus
{
    int code;
    Text brief;
    Text manual;
};

inline constexpr std::array kExitStatuses{
    ExitStatus{0, {"成功", "done"},
               {"できました（--print では、すべてのジョブがメッセージなしに CUPS に渡りました）。",
                "Done (for --print: every job handed to CUPS without a message)."}},
    ExitStatus{1, {"失敗（標準エラーにメッセージ）", "failed (message on standard error)"},
               {"失敗しました。理由は標準エラーに出ます（文書が無い、読めない、空、"
                "プリンタが無い、PDF や文書が書けない、用紙が小さすぎる、どの大きさでも文字が収まらない、"
                "ディスクが読めない、MusicBrainz に問い合わせられない）。",
                "Failed, with the message on standard error (a document that is missing, "
                "unreadable or empty, no printer, a PDF or document that cannot be written, a sheet "
                "too small, text that fits at no size, a disc that cannot be read, a "
                "MusicBrainz lookup that failed)."}},
    ExitStatus{2, {"コマンドラインの誤り", "bad command line"},
               {"コマンドラインの誤り（知らないオプション、値が無い、値が正しくない、"
                "入れ違いに見える引数: --export-pdf の .plr で終わる出力、文書やディスクそのものやほかに読むファイルである出力、"
                "PDF である文書、--import-cd の .plr で終わるディスクやディスクである出力。"
                "また --import-cd の .plr で終わらない文書の名前）。"
                "何も書かず、何も印刷しません。",
                "A bad command line (unknown option, missing or bad value, or arguments "
                "that look swapped: an output of --export-pdf ending in .plr, an output that "
                "is the document or the disc itself or another file the command reads, "
                "a PDF given as the document, a disc of --import-cd ending in .plr or a disc given "
                "as its output; or a document of --import-cd whose name does not end in .plr). "
                "Nothing is written or printed."}},
};

// Only in the manual pages.
inline constexpr Text kName{"CD ケースのジャケットを作って印刷する",
                            "compose and print CD case inserts"};

// Paragraphs.
inline constexpr std::array kDescription{
    Text{"ペロラは CD ケースのジャケット（表と、背の付いた裏）を作って印刷します。"
         "タイトルを入れ、曲目を手で入力するか音楽ファイルをウィンドウに落として"
         "（タグから曲名、演奏時間、アーティスト）作り、.plr 文書として保存します。",
         "Pelora composes and prints CD case inserts: the front insert and the back "
         "tray card with its two spines. Type a title, build the track list by hand or "
         "by dropping audio files on the window (their tags give title, playing time and "
         "artist), and save the jacket as a .plr document."},
    Text{"--export-pdf と --print はウィンドウを出さず、ディスプレイも要りません"
         "（QT_QPA_PLATFORM や -platform の指定にかかわらず Qt の offscreen を使います）。"
         "ウィンドウの印刷ボタンと同じレイアウトで描きます。",
         "--export-pdf and --print show no window and need no display (they always use "
         "Qt's offscreen platform, whatever QT_QPA_PLATFORM or -platform say); they lay "
         "the jacket out and draw it as the window's print button does."},
    Text{"--export-pdf は PDF を最後まで作ってから書きます。普通のファイルは書き終えてから"
         "置き換えるので、失敗しても元のファイルが残ります。FIFO、/dev/stdout、/dev/fd/N、"
         "/dev/null のように普通のファイルでないものは、置き換えずにそのまま書き込みます。"
         "読む側のいない FIFO には、そう標準エラーに出してから読む側を待ちます。",
         "--export-pdf makes the whole PDF before it writes anything. A regular file is "
         "replaced only once the PDF is written whole, so a failure keeps the old file. "
         "What is not a regular file (a FIFO, /dev/stdout, /dev/fd/N, /dev/null) is written "
         "into, never replaced. For a FIFO that nobody reads yet, it says so on standard "
         "error and waits for a reader."},
};

struct Entry
{
    const char *name;
    Text what;
};

inline constexpr std::array kEnvironment{
    Entry{"PELORA_CONFIG_DIR",
          {"設定ファイルを置くフォルダ。ほかのどの場所よりも優先します。",
           "The folder of the settings files, instead of any other."}},
    Entry{"XDG_CONFIG_HOME",
          {"実行ファイルのフォルダに書き込めないとき、設定ファイルは $XDG_CONFIG_HOME/pelora"
           "（既定は ~/.config/pelora）に置きます。",
           "When the executable's folder is not writable, the settings files are in "
           "$XDG_CONFIG_HOME/pelora (by default ~/.config/pelora)."}},
    Entry{"LANGUAGE, LC_ALL, LC_MESSAGES, LANG",
          {"表示の言語。好みの順で日本語と英語のうち先にある方を使い、どちらも無ければ英語です。"
           "LANGUAGE は、ロケール（LC_ALL、LC_MESSAGES、LANG の順で最初に設定されているもの）が C や POSIX でないときだけ使います。"
           "ウィンドウ、メッセージ、--help のすべてがこれに従います。",
           "The language of the window, the messages and --help: the first of Japanese or "
           "English in the user's order of preference, and English when neither is there. "
           "LANGUAGE counts only when the locale (the first of LC_ALL, LC_MESSAGES and LANG "
           "that is set) is not C or POSIX."}},
    Entry{"PELORA_MUSICBRAINZ_URL, PELORA_COVERART_URL",
          {"--lookup が問い合わせる MusicBrainz と Cover Art Archive のアドレス（ミラーを使うとき）。"
           "既定は https://musicbrainz.org と https://coverartarchive.org です。",
           "The addresses of MusicBrainz and the Cover Art Archive that --lookup asks, for "
           "a mirror; by default https://musicbrainz.org and https://coverartarchive.org."}},
    Entry{"QT_QPA_PLATFORM",
          {"ウィンドウが使う Qt のプラットフォーム。--export-pdf と --print と --import-cd は、これにかかわらず offscreen を使います。",
           "The Qt platform of the window; the commands (--export-pdf, --print, --import-cd) use offscreen whatever it says."}},
};

inline constexpr std::array kFiles{
    Entry{"Pelora.ini, Pelora.dat",
          {"設定とデータ。実行ファイルのフォルダに書き込めればそこ、"
           "そうでなければ ~/.config/pelora にあります。",
           "The settings and the data: beside the executable when its folder is "
           "writable, otherwise in ~/.config/pelora."}},
    Entry{"/usr/share/doc/pelora/README.md",
          {"説明書（英語）。", "The manual."}},
    Entry{"/usr/share/doc/pelora/examples/サンプル.plr",
          {"見本のジャケット。", "A sample jacket."}},
};

inline constexpr std::array kSeeAlso{"lp(1)", "lpstat(1)", "lpoptions(1)", "lpadmin(8)"};

}  // namespace CommandLineHelp
