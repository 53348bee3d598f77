// tabledump: prints, for each HTML file named, the tables, rows and cells the extraction
// stores, in the forms of the HTML oracle, so that the two compare with diff.

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "platform/html/html_document.h"
#include "shell/guarded_steps.h"
#include "table_printer.h"
#include "tables/extraction.h"

namespace {

constexpr std::string_view kUsage =
    "usage: tabledump [--text | --tree] FILE [FILE...]\n"
    "\n"
    "Prints, for each FILE, the tables, rows and cells that the extraction stores, each cell's\n"
    "text as rendered: one JSON line per file, or with --text one line per cell,\n"
    "\"Table N_Row r_c<TAB>text\" (\\n \\r \\t and backslash in the text escaped).\n"
    "With --tree it prints the document tree instead, in the format of the html5lib\n"
    "tree-construction tests.\n"
    "Exit status: 0 when every file was read, 1 when some failed, 2 for a usage error.\n";

int usage(int status) {
    std::fputs(kUsage.data(), status == 0 ? stdout : stderr);
    return status;
}

void write(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

}  // namespace

int main(int argc, char** argv) {
    bool textForm = false;
    bool treeForm = false;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") {
            files.insert(files.end(), argv + i + 1, argv + argc);
            break;
        }
        if (argument == "--text") {
            textForm = true;
        } else if (argument == "--tree") {
            treeForm = true;
        } else if (argument == "-h" || argument == "--help") {
            return usage(0);
        } else if (argument.starts_with("--")) {
            std::fprintf(stderr, "tabledump: unknown option %s\n", argv[i]);
            return usage(2);
        } else {
            files.emplace_back(argument);
        }
    }
    if (files.empty()) {
        return usage(2);
    }

    veltrano::IgnoredProgress progress;
    bool failed = false;
    for (const std::string& file : files) {
        std::string out;
        try {
            if (treeForm) {
                if (files.size() > 1) {
                    out = "### " + file + "\n";
                }
                out +=
                    veltrano::html::HtmlDocument::load(file, veltrano::kMaximumFileBytes)->dump();
                write(out);
                continue;
            }
            const veltrano::ExtractedFile extracted =
                veltrano::extractTables(file, veltrano::kFile1Walk, progress);
            for (const veltrano::FailureLog::Entry& failure : extracted.failures.entries()) {
                std::fprintf(stderr, "tabledump: %s: step %d: %s\n", file.c_str(), failure.line,
                             failure.description.c_str());
                failed = true;
            }
            if (textForm) {
                if (files.size() > 1) {
                    out = "### " + file + "\n";
                }
                veltrano::appendLines(out, extracted);
            } else {
                veltrano::appendJson(out, file, extracted);
            }
        } catch (const std::exception& e) {
            std::fprintf(stderr, "tabledump: %s: %s\n", file.c_str(), e.what());
            failed = true;
            continue;
        }
        write(out);
    }
    std::fflush(stdout);
    return failed ? 1 : 0;
}
