#pragma once

// For GoogleTest binaries only: a scripted platform whose failures fail the running test.

#include "scripted.h"

#include <gtest/gtest.h>

namespace brix {

inline void failTestsOnScriptErrors(ScriptedPlatform& platform) {
    platform.setFailureHandler(
        [](const QString& what) { ADD_FAILURE() << "platform: " << what.toStdString(); });
}

// A scripted platform installed for the scope of a test, failing the test on script errors.
class TestPlatform : public ScriptedPlatform {
public:
    TestPlatform() : use_(*this) { failTestsOnScriptErrors(*this); }

private:
    ScopedPlatform use_;
};

} // namespace brix
