#pragma once

namespace ornis {

class Document;
class UserSettings;

// Edits held by no file when the window closes: closing never waits for the user, so they
// go into a backup, and the next start offers to bring them back.
class UnsavedAtClose
{
public:
    UnsavedAtClose(Document &document, UserSettings &settings);

    // The window closes: edits kept nowhere go into a backup, noted for the next start; a
    // close that kept none clears the note.
    void windowClosing();
    // Once the window shows: asks whether to bring back the edits the last close kept, if
    // it kept any; Yes opens them with the mark set, No leaves them in the backups folder.
    void offerKeptEdits();

private:
    Document &document_;
    UserSettings &settings_;
};

} // namespace ornis
