// Fixture of every test that talks to the substitute host: a fresh host installed as
// FINALE.EXE, the binding's caches forgotten, and at the end a check that the host saw no
// misuse (frames freed twice, frames left outstanding, ...). The same tests run on Linux, where
// the stand-in plays the module registry, and on Windows, where the test program is FINALE.EXE.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "HostFields.h"
#include "SubstituteHost.h"

class HostTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    plovikhost::Host& host() { return plovikhost::Host::Get(); }
    plovikhost::Document& doc() { return host().CurrentDocument(); }
    // Forgets what the binding has looked up, so that hiding or renaming takes effect.
    void Relookup();
    // How often the binding looked a service up by name since the last Relookup.
    int Lookups(const char* name);
    // For the rest of the test, a host module that exports these functions (of the services'
    // exact types) and nothing else; the binding looks again.
    void ExportOnly(const std::map<std::string, void*>& exports);
};
