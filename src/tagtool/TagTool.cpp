#include "Commands.h"
#include "Console.h"

#ifndef BRELKO_VERSION
#define BRELKO_VERSION "0.0.0"
#endif

namespace {

const char HelpText[] =
    R"(Usage: brelko-tag COMMAND [OPTIONS] FILE...

Reads and changes the ID3v1 tags of MP3 files, renames files after their
tags, and takes such changes back.

Commands:
  show [--json | --csv] [--files-from LIST [-0]] [--jobs N] FILE...
      Print each file's tag: title, artist, album, year, comment, genre
      and track, and the version of the ID3v2 tag the file also holds (a
      player that reads it shows its texts instead). --json prints one JSON object per line and file, --csv a
      table with a header line. --files-from reads more files from LIST
      ("-" for standard input), one per line, or separated by zero bytes
      with -0 (as from find -print0). Files are read N at a time and
      printed in the order given; by default N is 16 on a spinning disk
      and 64 elsewhere, and --jobs 1 reads one file after another.
  set [--title T] [--artist A] [--album B] [--year Y] [--comment C]
      [--genre NAME|NUMBER] [--track N] [--jobs N] FILE...
      Change only the fields given; a file without a tag gets a new one.
      Title, artist, album and comment keep their first 30 characters, the
      year its first 4, a comment beside a track number its first 28.
      Characters outside Windows-1252 are written as "?". A track number
      the file has is kept when the comment leaves room for it; --track 0
      removes it. Files are written and flushed N at a time (default as
      for show), each under its own lock.
  fill --from-v2 [--dry-run] [--jobs N] FILE...
  fill --from-name PATTERN [--dry-run] [--jobs N] FILE...
      Fill the ID3v1 tag from what each file already says: its ID3v2 tag
      (title, artist, album, year, first comment, track, genre), or its
      name matched against PATTERN, such as "%artist% - %title%" or
      "%track%. %title%" (placeholders %title% %artist% %album% %year%
      %comment% %genre% %track%; the extension is left out). Only the
      fields found change. A genre that is not one of the 126 ID3v1
      genres, or a track that is not 1 to 255, keeps the file's own.
      Losses are warned about as for set. A file without an ID3v2 tag,
      or whose name does not match, is left alone and reported.
      --dry-run prints the old and new values and writes nothing. Files
      are written as by set.
  rename --order title-artist|artist-title [--dry-run] [--jobs N] FILE...
      Rename each file in its folder to "Title - Artist.mp3" or
      "Artist - Title.mp3" from its tag. An existing file is never
      replaced. --dry-run prints the old and new names and renames nothing.
      Tags are read N at a time (default as for show); the files are
      renamed in the order given.
  undo FILE...
      Take back the last change Brelko made to each file (a tag write, from
      the window, set or fill, or a rename), unless the file changed since.

Options:
  -h, --help     Show this help.
  -V, --version  Show the version.

Every change is recorded before it is made in $XDG_STATE_HOME/brelko
(~/.local/state/brelko when unset); the last 10,000 can be undone.

Exit status: 0 when every file succeeded, 1 when a file failed (the others
were done), 2 when the command was not understood (nothing was changed).
)";

} // namespace

int RunTagTool(const QByteArrayList &args)
{
    const QString command = QString::fromUtf8(args.value(0));
    const QByteArrayList rest = args.mid(1);
    if (command == QLatin1String("-h") || command == QLatin1String("--help") ||
        command == QLatin1String("help")) {
        PrintOut(HelpText);
        return ExitSuccess;
    }
    if (command == QLatin1String("-V") || command == QLatin1String("--version")) {
        PrintOut("brelko-tag " BRELKO_VERSION "\n");
        return ExitSuccess;
    }
    if (command == QLatin1String("show"))
        return RunShow(rest);
    if (command == QLatin1String("set"))
        return RunSet(rest);
    if (command == QLatin1String("fill"))
        return RunFill(rest);
    if (command == QLatin1String("rename"))
        return RunRename(rest);
    if (command == QLatin1String("undo"))
        return RunUndo(rest);
    PrintError(command.isEmpty() ? QStringLiteral("no command given")
                                 : QStringLiteral("unknown command \"%1\"").arg(command));
    PrintError(QStringLiteral("try 'brelko-tag --help'"));
    return ExitUsage;
}
