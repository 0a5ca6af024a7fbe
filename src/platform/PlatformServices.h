#pragma once

class ApplicationState;
class GlobalShortcuts;
class LoginItems;
class MessageChannel;
class Pasteboard;
class PasteKeystroke;
class Workspace;

// One implementation of each platform interface, as the composition root hands them to the
// services it builds. The pointers do not own.
struct PlatformServices
{
    Pasteboard* pasteboard = nullptr;
    ApplicationState* applicationState = nullptr;
    Workspace* workspace = nullptr;
    MessageChannel* messageChannel = nullptr;
    LoginItems* loginItems = nullptr;
    GlobalShortcuts* globalShortcuts = nullptr;
    PasteKeystroke* pasteKeystroke = nullptr;
};
