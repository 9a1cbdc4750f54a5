/* A Weston module that gives the headless back-end the seat it lacks: SDL2's Wayland driver
 * (2.26) dereferences its seat at start-up and crashes without one. The seat has no devices, so
 * no cursor shows in screenshots. Loaded by scripts/with-weston.sh when ZN_WESTON_MODULES names
 * it. */
#include <stdlib.h>

#include <libweston/libweston.h>

/* Exported by libweston-10 for its back-ends, but declared in no installed header. */
void weston_seat_init(struct weston_seat* seat, struct weston_compositor* compositor,
                      const char* name);
void weston_seat_release(struct weston_seat* seat);

struct zn_seat {
    struct weston_seat seat;
    struct wl_listener compositor_destroyed;
};

static void release(struct wl_listener* listener, void* data) {
    struct zn_seat* seat = wl_container_of(listener, seat, compositor_destroyed);
    (void)data;
    wl_list_remove(&seat->compositor_destroyed.link);
    weston_seat_release(&seat->seat);
    free(seat);
}

WL_EXPORT int wet_module_init(struct weston_compositor* compositor, int* argc, char* argv[]) {
    struct zn_seat* seat = calloc(1, sizeof *seat);
    (void)argc;
    (void)argv;
    if (!seat)
        return -1;
    weston_seat_init(&seat->seat, compositor, "default");
    seat->compositor_destroyed.notify = release;
    wl_signal_add(&compositor->destroy_signal, &seat->compositor_destroyed);
    return 0;
}
