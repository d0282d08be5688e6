#pragma once

// Marks a text of the engine that a user reads (a caption, a unit, a failure
// text), so that Qt's lupdate finds it and the Qt layers can translate it by
// its context and text (QCoreApplication::translate). Here it is the text as
// it stands; lupdate is run with
//   -tr-function-alias QT_TRANSLATE_NOOP+=JOIST_TR_NOOP
// Keys of files, JSON and CSV are never marked.
#define JOIST_TR_NOOP(context, text) text
