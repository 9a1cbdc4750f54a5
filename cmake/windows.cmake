# filled in with the windows platform
