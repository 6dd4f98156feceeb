#pragma once
// The fourteen code table screens as data: one editor class shows any of them. A member names
// its table, the statement of its rows, its boxes and drop-downs, whether typed codes are
// zero-padded (and the message when they are not numbers), its list and the texts of deleting.

#include "app/edit_fields.h"

#include <QString>
#include <vector>

namespace codes {

// What a box beyond the code and the name does; a plain box is a field of the row (text, an
// amount, a drop-down of another code table).
enum class BoxRole {
    Plain,
    SecondCodeBox,   // a further box on the code column, usable in modify mode too
    StoredPassword,  // the password column: never enabled, never shows what is stored
    NewPassword,     // a masked box and its repetition that set the operator's password
};

struct Box {
    edit::Field field;  // its table is the member's; NewPassword has no column
    BoxRole role = BoxRole::Plain;
};

struct GridColumn {
    QString column;
    QString title;
};

struct DeleteTexts {
    QString question;  // "删除提示", with "忽略"
    QString refusal;   // "错误信息", when the database refuses
};

struct Member {
    QString className;
    QString title;          // the title strip
    QString table;
    QString rowsStatement;  // the rows the screen shows, in their order
    QString codeLabel, codeColumn;
    QString nameLabel, nameColumn;
    std::vector<Box> boxes = {};
    QString codeFormatMessage = {};  // empty: the code is taken as typed
    QString listTitle = {};
    std::vector<GridColumn> grid = {};
    bool arrowButtons = true;
    bool striped = false;    // rows painted alternately pale green and ivory
    bool canModify = true;   // the salary items are only added and deleted
    QString note = {};
    bool salaryItems = false;  // each row stands for a money column of gzb

    edit::Field codeField() const;
    edit::Field nameField() const;
    // The fields a save writes: the code, the name and the plain boxes.
    edit::Fields rowFields() const;
};

const std::vector<Member> &members();
const Member *findMember(const QString &className);
const DeleteTexts &deleteTexts(const Member &member);

// Prompt titles and the message of a refused save, shared by every member.
inline const QString kErrorTitle = QStringLiteral("错误提示");
inline const QString kRefusedTitle = QStringLiteral("错误信息");
inline const QString kDeleteTitle = QStringLiteral("删除提示");
inline const QString kSaveRefused = QStringLiteral("编号重复或空，请重新输入！");

}  // namespace codes
