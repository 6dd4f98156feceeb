#pragma once
// The user guide shipped with the program: Markdown pages compiled in as resources
// (resources/help/*.md), their sections, and which section describes each window, so F1 opens
// the guide where the screen in front is explained.

#include <QString>
#include <optional>
#include <vector>

namespace help {

struct Page {
    QString file;   // "pay.md", under ":/help/"
    QString title;  // its first heading
};

// The pages in the order of the contents list; the first is the start page.
const std::vector<Page> &pages();

// A page's Markdown; empty when there is no such page.
QString pageText(const QString &file);

struct Section {
    QString page;
    int level = 1;    // 1 for "#", 2 for "##", …
    QString heading;  // the heading's text
    QString text;     // the section's text up to the next heading
};

// Every heading of every page, in order.
const std::vector<Section> &sections();

struct Place {
    QString page;
    QString heading;
};

// Where the guide describes the window of this class ("Tfrmgzlr"); nullopt for a class it
// does not know (the start page is shown then).
std::optional<Place> placeOf(const QString &windowClass);

// Every window class the guide has a place for.
std::vector<QString> describedWindows();

}  // namespace help
