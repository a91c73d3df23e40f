/* Code of the version-resource fixtures: a DLL needs one object besides its resources. */
int WintabFixture(void) {
    return 0;
}
