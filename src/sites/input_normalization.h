#pragma once

#include "sites/adapter_table.h"

#include <QString>

#include <optional>
#include <vector>

namespace mosaiq {

// Which single-item inputs start their download by themselves.
enum class SingleItem {
    Never,
    Always,        // the input names one album
    WhenOneAlbum,  // the input names one product; set when exactly one album was listed
};

// Rows that read a page before their adapter can run.
enum class PageStep {
    None,
    BaiduProfile,  // the user name is on the page
    TiebaPost,     // the forum keyword is on the post page
    RenrenPerson,  // the numeric id is on the person's page
    Duitang,       // the user id (and the album page itself) is on the page
};

// One adapter call; `subType` is stored in m_subType just before it when set.
struct AlbumCall {
    AlbumSource source;
    std::optional<int> subType;
};

// What the album-list dispatch does for one input: pure text work on the input (and, for
// a PageStep, on the fetched page).
struct AlbumListPlan {
    QString input;                 // what the adapters receive
    std::vector<AlbumCall> calls;  // tried in order while the album list stays empty
    QString message;               // when set: shown instead of any call
    QString emptyMessage;          // shown when the list is still empty after the calls
    SingleItem singleItem = SingleItem::Never;
    std::optional<QString> account;  // job texts stored before the calls
    std::optional<QString> jobText1;
    std::optional<QString> jobText2;
    std::optional<QString> accountAfter;  // job texts stored after the calls
    std::optional<QString> jobText1After;
    PageStep pageStep = PageStep::None;
    QString pageAddress;
    bool moodAlbum = false;  // QQ Zone: append the mood-pictures pseudo-album
};

// Normalises the trimmed input of site type `listType`; `subType` is the sub-type box
// selection (ListType 0 only).
AlbumListPlan PlanAlbumList(int listType, int subType, const QString& trimmedInput);

// Finishes a plan with the page its PageStep fetched. False when the job ends here
// (`plan.message`, when set, tells the user why).
bool CompletePlanWithPage(AlbumListPlan& plan, const QString& page);

// Replaces "^" of a stored message by line breaks.
QString WithLineBreaks(QString text);

}  // namespace mosaiq
