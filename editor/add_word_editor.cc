// Placeholder so the library has a source until the editor lands.
namespace tavro2 {}
