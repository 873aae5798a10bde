// Compiled into a host folder that has no sources yet.
