// The optional questions and notice that Plauder's owner may answer before a
// store-review prompt is requested.
#pragma once

#include <optional>

// Every operation is optional: the defaults stand for "not implemented", so
// an owner overrides only what it cares about. The calls may come from any
// thread (activation on the main thread, the score queue, a store lookup).
class ReviewDelegate
{
public:
    virtual ~ReviewDelegate() = default;

    // true suppresses the prompt; std::nullopt: no answer.
    virtual std::optional<bool> didCrashInLastSession() { return std::nullopt; }
    // false suppresses the prompt; std::nullopt: no answer.
    virtual std::optional<bool> shouldRequestFeedback() { return std::nullopt; }
    // Told on the main thread after a prompt was requested.
    virtual void didShowAppleRatingsPrompt() {}
};
