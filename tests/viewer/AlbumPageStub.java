import java.applet.AppletContext;
import java.applet.AppletStub;
import java.awt.Toolkit;
import java.io.File;
import java.lang.reflect.Proxy;
import java.net.MalformedURLException;
import java.net.URL;
import java.util.HashMap;
import java.util.Map;

/**
 * Hosts the applet as a browser hosts it on album page N: code base ./PhotoAlbum and
 * the four parameters the page passes, which a test may change.
 */
@SuppressWarnings("removal")
final class AlbumPageStub implements AppletStub {
  final Map<String, String> parameters = new HashMap<String, String>();
  private final AlbumSite site_;
  private final int album_;
  // The browser's side: it loads images; everything else does nothing and answers null.
  private final AppletContext context_ = (AppletContext) Proxy.newProxyInstance(
      AppletContext.class.getClassLoader(), new Class<?>[] {AppletContext.class},
      (proxy, method, args) -> method.getName().equals("getImage")
          ? Toolkit.getDefaultToolkit().createImage((URL) args[0]) : null);

  AlbumPageStub(AlbumSite site, int album) {
    site_ = site;
    album_ = album;
    parameters.put("index_file", "index/album-" + album + ".dat");
    parameters.put("image_base", "images/album-" + album);
    parameters.put("frame_bg_color", "00CCFF");
    parameters.put("text_prompt_color", "0000FF");
  }

  @Override public boolean isActive() { return true; }
  @Override public URL getDocumentBase() { return url(new File(site_.root, "album-" + album_ + ".htm")); }
  @Override public URL getCodeBase() { return url(site_.codeBase); }
  @Override public String getParameter(String name) { return parameters.get(name); }
  @Override public AppletContext getAppletContext() { return context_; }
  @Override public void appletResize(int width, int height) {}

  private static URL url(File file) {
    try {
      return file.toURI().toURL();  // a folder's URL ends in "/", so relative parameters resolve inside it
    } catch (MalformedURLException e) {
      throw new IllegalStateException(e);
    }
  }
}
