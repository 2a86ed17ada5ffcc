// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the manual page pelora(1) in roff from the command line's help
// (src/app/CommandLineHelp.h), the same table that --help prints.
//
//   pelora_manpage ja|en VERSION DATE OUTPUT
#include "app/CommandLineHelp.h"

#include <cctype>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

using namespace CommandLineHelp;

namespace {

bool japanese = false;

std::string in(Text text) { return withNames(japanese ? text.ja : text.en, japanese); }

// Minus signs stay ASCII when copied from the page; a leading dot or quote
// would be read as a request.
std::string escaped(const std::string &text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\''))
        out.insert(0, "\\&");
    return out;
}

// Running text: the line breaks of --help go. Japanese runs on without a
// space, except next to a Latin word (and not after Japanese punctuation);
// ja.tmac breaks it where Japanese may break.
std::string prose(Text text)
{
    const std::string lines = in(text);
    const auto latin = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] != '\n') {
            out += lines[i];
            continue;
        }
        bool space = !japanese;
        if (japanese && !out.empty() && i + 1 < lines.size()) {
            const bool punctuation = out.ends_with("、") || out.ends_with("。") || out.ends_with("（") || out.ends_with("）");
            space = latin(out.back()) || (latin(lines[i + 1]) && !punctuation);
        }
        if (space)
            out += ' ';
    }
    return escaped(out);
}

// A synopsis or option name: literal words bold, what the user gives italic,
// brackets, bars and commas plain; no line break inside brackets.
std::string command(const std::string &words)
{
    std::string out;
    std::string word;
    int depth = 0;
    const auto flush = [&] {
        if (word.empty())
            return;
        bool given = word == "N";
        for (const Placeholder &placeholder : kPlaceholders)
            given = given || word == placeholder.key;
        out += (given ? "\\fI" : "\\fB") + escaped(withNames(word, japanese)) + "\\fR";
        word.clear();
    };
    for (char c : words) {
        if (std::strchr("[]|, \n", c)) {
            flush();
            depth += c == '[' ? 1 : c == ']' ? -1 : 0;
            if (c == ' ' || c == '\n')
                out += depth > 0 ? "\\ " : " ";
            else
                out += c;
        } else {
            word += c;
        }
    }
    flush();
    return out;
}

const char *heading(const char *ja, const char *en) { return japanese ? ja : en; }

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 5 || (std::strcmp(argv[1], "ja") != 0 && std::strcmp(argv[1], "en") != 0)) {
        std::cerr << "usage: pelora_manpage ja|en VERSION DATE OUTPUT\n";
        return 2;
    }
    japanese = std::strcmp(argv[1], "ja") == 0;
    std::ofstream page(argv[4], std::ios::binary);

    page << ".\\\" Made from src/app/CommandLineHelp.h by data/manpage.cpp.\n";
    page << ".TH PELORA 1 \"" << argv[3] << "\" \"pelora " << argv[2] << "\" \""
         << heading("ユーザーコマンド", "User Commands") << "\"\n";
    page << ".nh\n";  // option names and paths stay whole
    if (japanese) {
        // groff breaks Japanese text only with these rules, whatever the
        // reader's locale; ragged right, as justified CJK lines leave gaps.
        page << ".if \\n(.g .mso ja.tmac\n.ad l\n";
    }
    page << ".SH " << heading("名前", "NAME") << "\npelora \\- " << prose(kName) << '\n';

    page << ".SH " << heading("書式", "SYNOPSIS") << '\n';
    for (const Form &form : kForms) {
        page << ".SY pelora\n" << command(form.command);
        if (*form.arguments)
            page << ' ' << command(form.arguments);
        page << "\n.YS\n";
    }

    page << ".SH " << heading("説明", "DESCRIPTION") << '\n';
    for (const Text &paragraph : kDescription)
        page << ".PP\n" << prose(paragraph) << '\n';
    for (const Form &form : kForms)
        page << ".TP\n\\fBpelora\\fR " << command(form.command) << '\n' << prose(form.what) << '\n';
    page << ".PP\n" << prose(kSettings) << '\n';

    page << ".SH " << heading("オプション", "OPTIONS") << '\n';
    for (const Option &option : kOptions)
        page << ".TP\n" << command(option.name) << '\n' << prose(option.manual) << '\n';

    page << ".SH " << heading("終了ステータス", "EXIT STATUS") << '\n';
    for (const ExitStatus &status : kExitStatuses)
        page << ".TP\n" << status.code << '\n' << prose(status.manual) << '\n';

    page << ".SH " << heading("環境変数", "ENVIRONMENT") << '\n';
    for (const Entry &variable : kEnvironment)
        page << ".TP\n\\fB" << escaped(variable.name) << "\\fR\n" << prose(variable.what) << '\n';

    page << ".SH " << heading("ファイル", "FILES") << '\n';
    for (const Entry &file : kFiles)
        page << ".TP\n\\fI" << escaped(file.name) << "\\fR\n" << prose(file.what) << '\n';

    page << ".SH " << heading("関連項目", "SEE ALSO") << '\n';
    const char *separator = "";
    for (const std::string reference : kSeeAlso) {
        const auto open = reference.find('(');
        page << separator << "\\fB" << reference.substr(0, open) << "\\fR" << reference.substr(open);
        separator = ",\n";
    }
    page << '\n';

    page.close();
    if (!page) {
        std::cerr << "pelora_manpage: cannot write " << argv[4] << '\n';
        return 1;
    }
    return 0;
}
