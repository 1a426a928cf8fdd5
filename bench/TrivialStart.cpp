// Starting this costs what starting any small C++ program costs.
int main() { return 0; }
