#pragma once

#include <QString>
#include <QtGlobal>

class OperationUi;

// What the copy window asks for: the function code of the operation.
constexpr qint32 FO_MOVE = 1;
constexpr qint32 FO_COPY = 2;

// The four options of the copy window, as bits of the operation's flag set.
constexpr quint16 FOF_SILENT = 0x0004;
constexpr quint16 FOF_RENAMEONCOLLISION = 0x0008;
constexpr quint16 FOF_NOCONFIRMATION = 0x0010;
constexpr quint16 FOF_SIMPLEPROGRESS = 0x0100;

// The four option boxes of the copy window, in their order on screen.
struct ShellOptions {
    bool silent = false;            // "Don't show operation (no copy dialog)"
    bool simpleProgress = false;    // "Don't show filenames for multiple deletes"
    bool noConfirmation = false;    // "Don't prompt for confirmation"
    bool renameOnCollision = false; // "Rename file if target name already exists"
};

// The flag set of the ticked boxes; 0x011C with all four.
qint32 GetShellFlags(const ShellOptions &options);

// One copy or move of a whole folder into another folder.
struct ShellRequest {
    qint32 actionCode = FO_COPY;
    QString source;
    QString destination;
    quint16 flags = 0;

    friend bool operator==(const ShellRequest &a, const ShellRequest &b)
    {
        return a.actionCode == b.actionCode && a.source == b.source &&
               a.destination == b.destination && a.flags == b.flags;
    }
};

// What an operation returns: 0 when everything asked for was done (items the
// user chose to skip included), otherwise why not.
enum OperationResult : qint32 {
    ResultOk = 0,
    ResultCancelled = 1,         // the user stopped it; what was published stays whole
    ResultIncomplete = 2,        // some items failed or were special files, and were skipped
    ResultBadSource = 3,         // empty, missing or not a folder
    ResultBadDestination = 4,    // empty, or exists and is not a folder
    ResultInsideSource = 5,      // the destination is the source or lies inside it
    ResultNotCreated = 6,        // the missing destination was not created
    ResultSameFolder = 7,        // a move into the folder the source already lives in
    ResultUnknownAction = 8,     // neither FO_MOVE nor FO_COPY
    ResultDestinationFailed = 9, // the missing destination could not be created
};

// Copies or moves a folder with everything in it. Asks its questions and
// shows its progress through ui.
class FileOperation {
public:
    virtual ~FileOperation() = default;
    virtual qint32 perform(const ShellRequest &request, OperationUi &ui) = 0;
};
