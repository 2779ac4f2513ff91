#include <qxxml/qxxml.h>
#include <cstdio>
int main() { std::printf("qxxml 1.0.0\n"); return 0; }
