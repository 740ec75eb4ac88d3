#include "platform/message.h"

#include <SDL.h>

#include <cstdio>
#include <utility>

namespace {
// The message channel is process-wide, like the message boxes it stands for.
struct MessageChannel {
    bool boxesAllowed = false;
    MessageHook hook;
};

MessageChannel &Channel()
{
    static MessageChannel channel;
    return channel;
}
} // namespace

void SetMessageBoxesAllowed(bool allowed)
{
    Channel().boxesAllowed = allowed;
}

void SetMessageHook(MessageHook hook)
{
    Channel().hook = std::move(hook);
}

void ShowMessage(const char *text, const char *caption)
{
    MessageChannel &channel = Channel();
    if (channel.hook) {
        channel.hook(text, caption);
        return;
    }
    if (channel.boxesAllowed && SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr) == 0)
        return;
    std::fprintf(stderr, "%s: %s\n", caption, text);
}
