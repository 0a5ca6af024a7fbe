// wlclipowner: owns the Wayland clipboard with chosen formats in a chosen order, through the
// data-control protocol, the way another application would (wl-copy offers one type only), so
// the end-to-end tests can fill the clipboard precisely.
//
//   wlclipowner TYPE=BYTES... | TYPE=@FILE... | TYPE=!stall... | TYPE=!trickle...
//
// The last "=" of each argument separates the type from its bytes, so "text/plain;charset=utf-8"
// needs none of its own escaped. "@FILE" offers the bytes of that file; "!stall" offers a type
// that is never sent: its pipe is held open, unwritten, as by an owner that hangs; "!trickle" sends
// "piece 0 " to "piece 9 " one every 300 ms, as a slow owner sends a large format. "ready" is
// printed once the compositor has taken the selection; when another client takes it the program
// prints "lost" and exits 0.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>
#include <wayland-client.h>
#include <wlr-data-control-unstable-v1-client-protocol.h>

namespace {

struct State
{
    wl_seat* seat = nullptr;
    zwlr_data_control_manager_v1* manager = nullptr;
    std::vector<std::pair<std::string, std::string>> formats;
    std::vector<int> stalled;
    bool lost = false;
};

const std::string stall = "!stall";
const std::string trickle = "!trickle";

void writeAll(int fd, const std::string& bytes)
{
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n <= 0)
            break;
        written += size_t(n);
    }
}

void global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    auto* state = static_cast<State*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !state->seat)
        state->seat =
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0)
        state->manager = static_cast<zwlr_data_control_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_data_control_manager_v1_interface, 1));
}

void globalRemove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener registryListener = {global, globalRemove};

void send(void* data, zwlr_data_control_source_v1*, const char* type, int32_t fd)
{
    auto* state = static_cast<State*>(data);
    for (const auto& [name, bytes] : state->formats) {
        if (name != type)
            continue;
        if (bytes == stall) {
            state->stalled.push_back(fd);
            return;
        }
        if (bytes == trickle) {
            for (int piece = 0; piece < 10; ++piece) {
                usleep(300'000);
                writeAll(fd, "piece " + std::to_string(piece) + " ");
            }
            break;
        }
        writeAll(fd, bytes);
        break;
    }
    close(fd);
}

void cancelled(void* data, zwlr_data_control_source_v1*)
{
    static_cast<State*>(data)->lost = true;
}

const zwlr_data_control_source_v1_listener sourceListener = {send, cancelled};

} // namespace

int main(int argc, char** argv)
{
    // A reader that closes its end early must not end the owner.
    std::signal(SIGPIPE, SIG_IGN);
    State state;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const size_t eq = argument.rfind('=');
        if (eq == std::string::npos || eq == 0) {
            std::fprintf(stderr, "usage: wlclipowner TYPE=BYTES...\n");
            return 2;
        }
        std::string bytes = argument.substr(eq + 1);
        if (bytes.starts_with('@')) {
            std::ifstream file(bytes.substr(1), std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        }
        state.formats.emplace_back(argument.substr(0, eq), std::move(bytes));
    }

    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "wlclipowner: no Wayland display\n");
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &state);
    wl_display_roundtrip(display);
    if (!state.seat || !state.manager) {
        std::fprintf(stderr, "wlclipowner: the compositor offers no data-control\n");
        return 1;
    }

    zwlr_data_control_device_v1* device =
        zwlr_data_control_manager_v1_get_data_device(state.manager, state.seat);
    zwlr_data_control_source_v1* source =
        zwlr_data_control_manager_v1_create_data_source(state.manager);
    zwlr_data_control_source_v1_add_listener(source, &sourceListener, &state);
    for (const auto& format : state.formats)
        zwlr_data_control_source_v1_offer(source, format.first.c_str());
    zwlr_data_control_device_v1_set_selection(device, source);
    wl_display_roundtrip(display);
    std::printf("ready\n");
    std::fflush(stdout);

    while (!state.lost && wl_display_dispatch(display) != -1) {
    }
    std::printf("lost\n");
    wl_display_disconnect(display);
    return 0;
}
