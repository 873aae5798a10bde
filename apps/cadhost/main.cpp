// cadhost: the host program. Opens drawings, loads modules, runs a script, saves.
int main() { return 0; }
