#pragma once

#include <cstdint>

#include "FCBase.h"
#include "FCCollection.h"

class FCIteratorHandler;

// One document open in the host, by the host's document number.
class FCDocument : public __FCBase {
  public:
    static constexpr int PATH_SIZE = 260;

    explicit FCDocument(int16_t number = 0) : _number(number) {}

    const char* ClassName() override { return "FCDocument"; }

    int16_t GetID() const { return _number; }
    // The document's file path as the host tells it; empty when the host tells none. Owned by
    // the document, valid until the next GetPath.
    const char* GetPath();

    // The document that was current before a scoped walk made this one current; 0 outside.
    int16_t _GetSavedDocument() const { return _savedDocument; }
    void _SetSavedDocument(int16_t number) { _savedDocument = number; }

  private:
    int16_t _number;
    int16_t _savedDocument = 0;
    char _path[PATH_SIZE] = {};
};

// The documents open in the host when LoadAll ran (a snapshot), in the host's order.
class FCDocuments : public __FCCollection {
  public:
    const char* ClassName() override { return "FCDocuments"; }

    // Replaces the contents with the host's documents; returns the count.
    int LoadAll();
    // Runs the handler on each document with that document made current and an edit of the
    // given name (DEFAULT_EDIT_NAME of FCUndoBlock when null) open around it; the current
    // document is put back after each. The edit is always ended, even when the handler fails.
    // Stops when the handler returns false; returns the number of documents it went on from.
    int ForEachWithScope(FCIteratorHandler* handler, const char* editName);
};
