# filled in with the x11 platform
