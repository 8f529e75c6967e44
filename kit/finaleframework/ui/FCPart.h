#pragma once

#include <cstdint>

#include "FCBase.h"
#include "FCCollection.h"
#include "FCString.h"

class FCIteratorHandler;

// One part of a document, by the host's part ID (0 is the score).
// It knows the document it belongs to.
class FCPart : public __FCBase {
  public:
    FCPart(int16_t id, int16_t document) : _id(id), _document(document) {}

    const char* ClassName() override { return "FCPart"; }
    // The same part of the same document.
    bool IsIdentical(__FCBase* other) override;

    int16_t GetID() const { return _id; }
    int16_t GetDocumentID() const { return _document; }
    // The part's own name string (owned by the part), filled from the host on each call. Hosts
    // up to 0x10FFFFFF are not asked: they answer wrongly.
    FCString* GetName();

    // The part that was current before a scoped walk made this one current; -1 outside.
    int16_t _GetSavedPart() const { return _savedPart; }
    void _SetSavedPart(int16_t id) { _savedPart = id; }

  private:
    FCString _name;
    int16_t _id;
    int16_t _document;
    int16_t _savedPart = -1;
};

// The parts of the current document when LoadAll ran (a snapshot), the score first.
class FCParts : public __FCCollection {
  public:
    const char* ClassName() override { return "FCParts"; }

    // Replaces the contents with the current document's parts; returns the count.
    int LoadAll();
    // Runs the handler on each part, with a part of the current document made current for the
    // time of the call and the previous part put back afterwards; a part of another document
    // is passed without switching. Stops when the handler returns false; returns the number of
    // parts it went on from.
    int ForEachWithScope(FCIteratorHandler* handler);
    // The part shown in the current document; null when it is not listed.
    FCPart* GetCurrent();
};
