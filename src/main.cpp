#include <cstdio>

int main() {
    std::puts("Quorvale: a real-time role-playing game with its world editor built in.");
    std::puts("The world model is being built; the game window does not open yet.");
    return 0;
}
