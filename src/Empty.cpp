// Lets a layer build before its first source file exists.
