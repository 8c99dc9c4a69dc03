// The module's code is in tavi_module, linked whole into the module.
